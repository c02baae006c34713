// The colour scheme of the simulated window system.
#pragma once

#include "platform/desktop_types.h"

namespace qv::sim {

inline constexpr platform::Rgb kDesktopColour{0, 128, 128};
inline constexpr platform::Rgb kFaceColour{192, 192, 192};
inline constexpr platform::Rgb kWindowColour{255, 255, 255};
inline constexpr platform::Rgb kHighlightColour{255, 255, 255};
inline constexpr platform::Rgb kShadowColour{128, 128, 128};
inline constexpr platform::Rgb kDarkShadowColour{0, 0, 0};
inline constexpr platform::Rgb kActiveCaptionColour{0, 0, 128};
inline constexpr platform::Rgb kInactiveCaptionColour{128, 128, 128};
inline constexpr platform::Rgb kCaptionTextColour{255, 255, 255};
inline constexpr platform::Rgb kTextColour{0, 0, 0};
inline constexpr platform::Rgb kWarningYellow{255, 255, 0};

}  // namespace qv::sim
