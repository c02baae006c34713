// Wildcard patterns of the operator script: "*" stands for any run of
// characters (line feeds included), "?" for any one character; everything
// else matches itself, case-sensitively. A pattern matches the whole text.
#pragma once

#include <string_view>

namespace qv::sim {

bool GlobMatch(std::string_view pattern, std::string_view text);

}  // namespace qv::sim
