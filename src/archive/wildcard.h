// The library's wildcard patterns, for selection entries and the file search
// of add entries. Both pattern and name are upper case; matching walks them
// once from the left and never goes back:
//
//   *      any run of characters (taken lazily: the next literal or class
//          consumes its first occurrence, and no other is tried, so *A.TXT
//          does not match BANANA.TXT)
//   ?      one character
//   +      one or more characters
//   [..]   one character of a class: single characters and ranges a-z,
//          negated by a leading ! or ^; \ takes the next character literally
//
// "*.*" is the same as "*": it matches every name, also one without a dot.
#pragma once

#include <string_view>

namespace qv::archive {

// A pattern a selection entry accepts: every '[' closed by ']', a '\' inside
// a class followed by a character, a '-' inside a class followed by a
// character other than ']', and no lone '\' at the end.
bool IsValidPattern(std::string_view pattern);

// Whether the pattern holds '*', '?' or '['.
bool HasWildcards(std::string_view pattern);

bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace qv::archive
