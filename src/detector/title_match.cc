#include "detector/title_match.h"

#include <algorithm>

namespace qv::detector {

bool ContainsText(platform::CodePage page, std::string_view text, std::string_view part) {
  std::size_t i = 0;
  while (true) {
    if (text.substr(i).starts_with(part)) return true;
    if (i >= text.size()) return false;
    const auto byte = static_cast<unsigned char>(text[i]);
    i += platform::IsLeadByte(page, byte) && i + 1 < text.size() ? 2 : 1;
  }
}

bool MatchesList(platform::CodePage page, const NameList& list, std::string_view title) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return ContainsText(page, entry, title); });
}

}  // namespace qv::detector
