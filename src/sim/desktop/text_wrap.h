// Breaks a text into the lines a static control or a message box shows: at
// every line feed (a CR before it is dropped) and, within a paragraph,
// between words so that no line is wider than the given width where it can
// be helped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/desktop/text_measure.h"

namespace qv::sim {

std::vector<std::string> WrapText(std::string_view text, int width, const TextMeasure& font);

}  // namespace qv::sim
