#include "instrument/ram_drive.h"

#include "instrument/config_sys.h"
#include "instrument/ram_drive_contents.h"

namespace qv::instrument {

bool RamDrive::SetUp() {
  return SetUpRamDriveLines(services_.platform.files);
}

void RamDrive::Empty(std::string_view folder) {
  EmptyRamDriveFolder(services_.platform.files, services_.helpers, folder);
}

void RamDrive::CopyLibraries() {
  // Without d:\ the launch's own copy fails and says so.
  CopyLibrariesToRamDrive(services_.platform.files);
}

}  // namespace qv::instrument
