// How the detector recognises a program by its window title: a title
// matches a list when some entry holds the whole title somewhere inside it,
// byte for byte and case-sensitively. The search walks the entry a
// character at a time, so a two-byte character of the code page is never
// split by a match that starts on its second byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace qv::detector {

using NameList = std::vector<std::string>;

// Whether text holds part starting at a character boundary. An empty part
// is found in every text.
bool ContainsText(platform::CodePage page, std::string_view text, std::string_view part);

// Whether some entry of the list holds the title.
bool MatchesList(platform::CodePage page, const NameList& list, std::string_view title);

}  // namespace qv::detector
