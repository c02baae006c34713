// What the system keeps for the loader's one thread and the ports share: the
// last error. Streams hold it too, so it is shared.
#pragma once

#include "platform/win_error.h"

namespace qv::sim {

struct ThreadState {
  platform::WinError last_error = platform::WinError::kSuccess;
};

}  // namespace qv::sim
