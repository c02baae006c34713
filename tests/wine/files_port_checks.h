// One walk through the Files port that prints what each step did, run on the
// simulated instrument and, as files_port_check.exe, on Windows under Wine:
// the two transcripts must agree line by line.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace qv::wine_test {

// Works in a new folder "portchk" below the current folder. `side_name` is a
// Files port of the same file system that replaces through side names.
std::vector<std::string> FilesPortChecks(platform::Files& files, platform::Files& side_name);

}  // namespace qv::wine_test
