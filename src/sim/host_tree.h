// The host side of the DOS file system: what a host folder shows as DOS
// entries.
//
// Only regular files and folders whose names are valid DOS names are seen;
// symbolic links are never followed (they are not there for DOS), so nothing
// outside the drive's folder can be reached. Two host names that differ only
// in case (which the instrument's file system cannot hold) are resolved the
// same way every time: the first of them in byte order is the entry, the
// other is not seen at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace qv::sim {

struct HostEntry {
  std::string name;  // the host name, which is the DOS name
  bool folder = false;
};

// The entries DOS sees, in the order the system lists them (by name without
// regard to case).
std::vector<HostEntry> VisibleEntries(const std::filesystem::path& folder, platform::CodePage page);

// Every host name of the folder that DOS could see, names that differ only in
// case included, in no particular order.
std::vector<HostEntry> VisibleCandidates(const std::filesystem::path& folder);

// The entry the host name `name` in `folder` makes, if DOS could see it.
std::optional<HostEntry> VisibleCandidate(const std::filesystem::path& folder, std::string name);

}  // namespace qv::sim
