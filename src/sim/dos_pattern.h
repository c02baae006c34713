// The file system's wildcard matching for folder searches, without regard to
// case: "*" any run of characters, "?" one character; "*.*" matches every
// name, a pattern ending in ".*" also matches the name without an extension
// ("a.*" finds "a"), and one ending in "." only names without an extension.
#pragma once

#include <string_view>

#include "platform/code_page.h"

namespace qv::sim {

bool MatchesDosPattern(std::string_view pattern, std::string_view name, platform::CodePage page);

}  // namespace qv::sim
