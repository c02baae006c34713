// The JSON texts of resources/dialog_*.json, built into the program so that
// no run depends on where it was started from.
#pragma once

#include <span>
#include <string_view>

namespace qv::sim {

std::span<const std::string_view> DialogResourceTexts();

}  // namespace qv::sim
