#include "archive/archive_names.h"

#include <algorithm>

#include "platform/dos_path.h"

namespace qv::archive {
namespace {

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return UpperAscii(c); });
  return upper;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

bool HasExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  return name[dot - 1] != '.' && name[dot - 1] != '\\';
}

std::string ArchiveFileName(std::string_view name) {
  const std::size_t end = name.find_last_not_of(' ');
  std::string trimmed(name.substr(0, end == std::string_view::npos ? 0 : end + 1));
  if (!HasExtension(trimmed)) trimmed += ".arq";
  return trimmed;
}

bool EndsWithArq(std::string_view name) {
  return name.size() >= 4 && SameIgnoringCase(name.substr(name.size() - 4), ".arq");
}

std::string DestinationFolder(std::string_view destination) {
  std::string folder = UpperAscii(destination);
  if (!folder.empty() && folder.back() != ':' && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string_view FilePart(std::string_view path) {
  const std::size_t last = path.find_last_of(":\\");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t last = path.find_last_of(":\\");
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string_view StripDriveAndLeadingDots(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) path.remove_prefix(2);
  const std::size_t first = path.find_first_not_of(".\\");
  return first == std::string_view::npos ? std::string_view() : path.substr(first);
}

bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  const std::size_t end = base.find_last_not_of(' ');
  base = base.substr(0, end == std::string_view::npos ? 0 : end + 1);
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
    if (SameIgnoringCase(base, device)) return true;
  }
  return base.size() == 4 &&
         (SameIgnoringCase(base.substr(0, 3), "COM") ||
          SameIgnoringCase(base.substr(0, 3), "LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsContainedMemberPath(std::string_view name) {
  if (name.empty() || name.front() == '\\' || name.back() == '\\') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('\\', start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view part = name.substr(start, end - start);
    // IsValidName refuses ':' and empty names; a name of dots and blanks
    // only is "." or ".." to the file system.
    if (!platform::IsValidName(part) || part.find_first_not_of(". ") == std::string_view::npos ||
        IsDeviceName(part)) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace qv::archive
