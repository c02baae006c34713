#include "win32/run_time_call.h"

#include <cerrno>
#include <cstdlib>

#include "win32/windows_api.h"

namespace qv::win32 {

using platform::Errno;
using platform::Failure;
using platform::WinError;

void BeginRunTimeCall() {
  errno = 0;
  _doserrno = 0;
}

Failure RunTimeFailure() {
  const auto value = static_cast<Errno>(errno);
  const auto code = static_cast<WinError>(_doserrno);
  return Leave(code == WinError::kSuccess ? Failure::RunTime(value) : Failure::Both(code, value));
}

Failure SystemFailure() {
  return Leave(Failure::System(static_cast<WinError>(::GetLastError())));
}

Failure Leave(Failure failure) {
  if (failure.error != WinError::kSuccess) ::SetLastError(platform::ToCode(failure.error));
  return failure;
}

}  // namespace qv::win32
