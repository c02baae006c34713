// Puts a built package into a simulated instrument's staging folder
// c:\scope\upgrade\scope\temp, as an installer on the instrument would: both
// files are written beside their places first, then an earlier header goes,
// the archive moves in and the header last, so that a header never names an
// archive that is not all there or not its own.
#pragma once

#include <filesystem>

#include "tools/qvpkg/package_folder.h"

namespace qv::qvpkg {

// Throws PackageError (or sim::MachineError for a folder that is no
// machine) with a one-line reason.
void InstallPackage(const Package& package, const std::filesystem::path& machine_folder);

}  // namespace qv::qvpkg
