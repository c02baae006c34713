#include "archive/wildcard.h"

#include <optional>

namespace qv::archive {
namespace {

// A character class that begins at pattern[open] == '['. A class that is
// never closed (only reachable through an unvalidated pattern) runs to the
// end of the pattern.
class CharacterClass {
 public:
  CharacterClass(std::string_view pattern, std::size_t open) {
    std::size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) {
      negated_ = true;
      ++at;
    }
    const std::size_t first = at;
    while (at < pattern.size() && pattern[at] != ']') {
      at += pattern[at] == '\\' && at + 1 < pattern.size() ? 2 : 1;
    }
    items_ = pattern.substr(first, at - first);
    end_ = at < pattern.size() ? at + 1 : at;
  }

  // The position just behind the class.
  std::size_t end() const { return end_; }

  bool Contains(char c) const {
    const auto code = static_cast<unsigned char>(c);
    bool found = false;
    for (std::size_t at = 0; at < items_.size() && !found;) {
      const unsigned char low = Take(at);
      unsigned char high = low;
      if (at + 1 < items_.size() && items_[at] == '-') {
        ++at;
        high = Take(at);
      }
      found = code >= low && code <= high;
    }
    return found != negated_;
  }

 private:
  // The character at `at` (after a '\', the one it escapes); moves past it.
  unsigned char Take(std::size_t& at) const {
    if (items_[at] == '\\' && at + 1 < items_.size()) ++at;
    return static_cast<unsigned char>(items_[at++]);
  }

  std::string_view items_;
  std::size_t end_ = 0;
  bool negated_ = false;
};

}  // namespace

bool IsValidPattern(std::string_view pattern) {
  std::size_t at = 0;
  while (at < pattern.size()) {
    const char c = pattern[at++];
    if (c == '\\' && at == pattern.size()) return false;
    if (c != '[') continue;
    for (char k = 0; k != ']';) {
      if (at == pattern.size()) return false;  // never closed
      k = pattern[at++];
      if (k != '\\' && k != '-') continue;
      if (at == pattern.size() || (k == '-' && pattern[at] == ']')) return false;
      if (k == '\\') ++at;
    }
  }
  return true;
}

bool HasWildcards(std::string_view pattern) {
  return pattern.find_first_of("*?[") != std::string_view::npos;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") pattern = "*";
  std::size_t p = 0;
  std::size_t n = 0;
  int stars = 0;
  while (p < pattern.size() && n < name.size()) {
    const char c = pattern[p];
    if (c == '*') {
      ++stars;
      ++p;
      continue;
    }
    if (c == '+' || c == '?') {
      ++n;
      if (c == '+') {
        ++stars;
      } else if (stars > 0) {
        --stars;
      }
      ++p;
      continue;
    }
    std::size_t next = p + 1;
    std::optional<CharacterClass> set;
    if (c == '[') {
      set.emplace(pattern, p);
      next = set->end();
    }
    const auto accepts = [&](char x) { return set ? set->Contains(x) : x == c; };
    if (stars == 0) {
      if (!accepts(name[n])) return false;
    } else {
      while (n < name.size() && !accepts(name[n]))
        ++n;
      if (n == name.size()) return false;
      stars = 0;
    }
    ++n;
    p = next;
  }
  if (stars > 0) n = name.size();
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size() && n == name.size();
}

}  // namespace qv::archive
