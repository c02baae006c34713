// The text line of the expansion's status box: which member is being
// extracted or unstored, how far it is, and "done." when all its bytes are
// written. The text keeps its value from one event to the next, and from
// one expansion to the next.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/member_record.h"

namespace qv::upgrade {

class ProgressText {
 public:
  // Takes in one of the library's progress events (the record's name is
  // the member's destination path). True when the text is to be shown:
  // after data progress, a stored member's start, and a member's end.
  bool Apply(const MemberRecord& record, std::int32_t event, std::int32_t value);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// The part of a path after its last "\" (all of it when it has none).
std::string_view BaseName(std::string_view path);

// How much of the member is written, in whole percent of its unpacked size
// (never above 100); nothing to say for a member of size 0.
std::string PercentField(std::uint32_t written, std::uint32_t unpacked_size);

}  // namespace qv::upgrade
