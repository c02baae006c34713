#include "platform/dos_path.h"

#include <algorithm>

namespace qv::platform {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::optional<DosPath> DosPath::Parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  DosPath path;
  if (text.size() >= 2 && text[1] == ':' && IsAsciiLetter(text[0])) {
    path.drive = static_cast<char>(text[0] & ~0x20);
    text.remove_prefix(2);
  }
  if (path.drive == 0 && text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
    return std::nullopt;  // network names are not the instrument's
  }
  if (text.find(':') != std::string_view::npos) return std::nullopt;
  path.rooted = !text.empty() && IsSeparator(text.front());
  path.trailing_separator = !text.empty() && IsSeparator(text.back()) && text.size() > 1;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsSeparator(text[end]))
      ++end;
    if (end > start) path.names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

std::string DosLocation::ToString() const {
  std::string text{drive, ':'};
  if (names.empty()) return text + '\\';
  for (const std::string& name : names)
    text += '\\' + name;
  return text;
}

DosLocation DosLocation::Parent() const {
  DosLocation parent = *this;
  if (!parent.names.empty()) parent.names.pop_back();
  return parent;
}

DosLocation DosLocation::Child(std::string_view name) const {
  DosLocation child = *this;
  child.names.emplace_back(name);
  return child;
}

bool IsValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
  });
}

bool HasWildcards(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

std::optional<DosLocation> Locate(const DosPath& path, const DosLocation& current_folder) {
  DosLocation location = current_folder;
  if (path.rooted) location.names.clear();
  for (const std::string& written : path.names) {
    if (written == ".") continue;
    if (written == "..") {
      if (!location.names.empty()) location.names.pop_back();
      continue;
    }
    const std::size_t kept = written.find_last_not_of(". ");
    if (kept == std::string::npos) return std::nullopt;
    location.names.push_back(written.substr(0, kept + 1));
  }
  return location;
}

}  // namespace qv::platform
