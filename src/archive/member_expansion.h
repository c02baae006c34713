// Expanding one member into an open output file: a stored member is copied,
// a compressed one decoded chunk by chunk; either way the CRC of the data as
// they lie in the archive is checked at the end. A member continued over
// several volumes is first gathered into a temporary file, which then
// serves as the input.
#pragma once

#include <string_view>

#include "archive/library_state.h"

namespace qv::archive {

class MemberExpansion {
 public:
  MemberExpansion(LibraryState& state, MemberRecord& record) : state_(state), record_(record) {}

  // Expands the member whose data begin at the archive's position into the
  // `output` slot; `target` is where the file goes (for the free-space test
  // and the gathering file's folder). Returns kOk or the status that failed
  // it (each with its event): kCannotOpen, kInsufficientSpace, kCrcError,
  // kWriteError, kCanceled, and for a continued member the gathering's
  // failures. `consumed` tells whether a continued member's data were read
  // through (the archive then stands behind them).
  Status Expand(int output, std::string_view target, bool& consumed);

 private:
  Status Gather(std::string_view folder, std::string& name, int& slot);
  Status Unstore(int input, int output);
  Status Decode(int input, int output);
  Status CheckCrc(std::uint32_t crc);
  Status WriteFailed();

  LibraryState& state_;
  MemberRecord& record_;
};

}  // namespace qv::archive
