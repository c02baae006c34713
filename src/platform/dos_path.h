// Paths as the instrument's programs write them: an optional drive letter
// and colon, "\" or "/" between names, "." and "..", relative to the current
// folder of a drive unless rooted. DosPath is the text taken apart; DosLocation
// is an absolute, normalised place on a drive.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// The longest full path the system accepts (MAX_PATH less the terminator) and
// the longest single name.
inline constexpr std::size_t kMaxPathLength = 259;
inline constexpr std::size_t kMaxNameLength = 255;

struct DosPath {
  char drive = 0;                  // 'A'..'Z' (upper case), 0 when the text names no drive
  bool rooted = false;             // starts at the root of its drive
  std::vector<std::string> names;  // as written, "." and ".." kept, empty ones dropped
  bool trailing_separator = false;

  // nullopt for text that is no path: empty text, a colon anywhere but after
  // a leading drive letter, or a network name ("\\server\...").
  static std::optional<DosPath> Parse(std::string_view text);
};

struct DosLocation {
  char drive = 'C';
  std::vector<std::string> names;  // below the root; empty for the root

  bool IsRoot() const { return names.empty(); }
  // "C:\" for the root, "C:\scope\bin" below it.
  std::string ToString() const;
  DosLocation Parent() const;
  DosLocation Child(std::string_view name) const;
};

// A name that may stand in a path: not empty, at most kMaxNameLength bytes, no
// control characters and none of < > : " / \ | ? *.
bool IsValidName(std::string_view name);
bool HasWildcards(std::string_view name);

// The place a path names, given the current folder of the drive it refers to
// (the caller picks that drive: the path's own or the current one). "."
// stays, ".." goes up but never above the root, and trailing dots and blanks
// of a name are dropped as the system does ("a." is "a"). nullopt when a name
// is nothing but dots and blanks.
std::optional<DosLocation> Locate(const DosPath& path, const DosLocation& current_folder);

}  // namespace qv::platform
