#include "upgrade/progress_text.h"

#include <algorithm>
#include <cstdio>

#include "codec/events.h"

namespace qv::upgrade {

std::string_view BaseName(std::string_view path) {
  const std::size_t separator = path.rfind('\\');
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string PercentField(std::uint32_t written, std::uint32_t unpacked_size) {
  // The blank field stands where there is nothing to count yet (and where a
  // member of size 0 would divide by zero).
  if (written == 0 || unpacked_size == 0) return "(   %)";
  // Wide enough for any 32-bit count times 100.
  const std::uint64_t percent =
      std::min<std::uint64_t>(std::uint64_t{written} * 100 / unpacked_size, 100);
  char field[16];
  std::snprintf(field, sizeof field, "(%3u%%)", static_cast<unsigned>(percent));
  return field;
}

bool ProgressText::Apply(const MemberRecord& record, std::int32_t event, std::int32_t value) {
  const std::string name(BaseName(record.name_view()));
  switch (event) {
    case event::kExtractProgress:
      text_ = "Extracting " + name + "  " +
              PercentField(static_cast<std::uint32_t>(value), record.unpacked_size);
      return true;
    case event::kUnstoreBegins:
      text_ = "Unstoring " + name + "  (   %)";
      return true;
    case event::kExtractWritten:
      text_ += "done.";
      return true;
    default:
      return false;
  }
}

}  // namespace qv::upgrade
