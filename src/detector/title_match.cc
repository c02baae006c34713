#include "detector/title_match.h"

#include <algorithm>

namespace qv::detector {

bool ContainsText(platform::CodePage page, std::string_view text, std::string_view part) {
  // A scan tests every window against every listed name, and most names do
  // not hold the title at all: a plain byte search rules them out at once.
  if (text.find(part) == std::string_view::npos) return false;
  std::size_t i = 0;
  while (true) {
    if (text.substr(i).starts_with(part)) return true;
    if (i >= text.size()) return false;
    const auto byte = static_cast<unsigned char>(text[i]);
    i += platform::IsLeadByte(page, byte) && i + 1 < text.size() ? 2 : 1;
  }
}

bool MatchesList(platform::CodePage page, const NameList& list, std::string_view title) {
  // A title the list names exactly, the usual case of a program met before,
  // needs no search inside the entries. Names that share their beginning,
  // as numbered ones do, mostly differ in their last byte: it is compared
  // first.
  const auto names_it = [title](const std::string& entry) {
    return entry.size() == title.size() && (title.empty() || entry.back() == title.back()) &&
           entry == title;
  };
  if (std::any_of(list.begin(), list.end(), names_it)) return true;
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return ContainsText(page, entry, title); });
}

}  // namespace qv::detector
