// The names by which machine.json, the transcript and the terminal speak of
// box kinds, answers, window states and what happens to a window.
#pragma once

#include <optional>
#include <string_view>

#include "platform/desktop_types.h"
#include "sim/desktop/desktop_events.h"

namespace qv::sim {

std::string_view BoxKindName(platform::BoxKind kind);  // ok, yesno, warning, error
std::optional<platform::BoxKind> BoxKindFromName(std::string_view name);

std::string_view AnswerName(platform::BoxAnswer answer);  // ok, yes, no
std::optional<platform::BoxAnswer> AnswerFromName(std::string_view name);

std::string_view WindowStateName(platform::WindowState state);  // normal, minimized, maximized
std::optional<platform::WindowState> WindowStateFromName(std::string_view name);

std::string_view WindowOpName(WindowOp op);  // create, show, caption, text, destroy

}  // namespace qv::sim
