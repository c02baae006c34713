#include "sim/desktop/text_wrap.h"

namespace qv::sim {
namespace {

void WrapParagraph(std::string_view paragraph, int width, const TextMeasure& font,
                   std::vector<std::string>& lines) {
  std::string line;
  std::size_t start = 0;
  while (start <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', start);
    if (end == std::string_view::npos) end = paragraph.size();
    const std::string_view word = paragraph.substr(start, end - start);
    const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (!line.empty() && font.Width(candidate) > width) {
      lines.push_back(line);
      line = std::string(word);
    } else {
      line = candidate;
    }
    start = end + 1;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width, const TextMeasure& font) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t feed = text.find('\n', start);
    std::string_view paragraph =
        text.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
    WrapParagraph(paragraph, width, font, lines);
    if (feed == std::string_view::npos) break;
    start = feed + 1;
  }
  return lines;
}

}  // namespace qv::sim
