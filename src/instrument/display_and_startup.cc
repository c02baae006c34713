#include "instrument/display_and_startup.h"

#include "instrument/rename_list.h"
#include "instrument/startup_entries.h"
#include "upgrade/current_folder.h"
#include "upgrade/folder_list.h"
#include "upgrade/instrument_folders.h"
#include "upgrade/upgrade_context.h"

namespace qv::instrument {
namespace {

// GetDeviceCaps(NUMCOLORS) gives -1 above 256 colours.
constexpr int kMoreThan256Colours = -1;

}  // namespace

void DisplayAndStartup::CleanTemp(std::string_view folder) {
  platform::Files& files = services_.platform.files;
  if (files.ChangeFolder(folder)) upgrade::DeleteFilesHere(files);
}

void DisplayAndStartup::MasksFolder() {
  platform::Files& files = services_.platform.files;
  // Made for what its making does to the current drive and folder.
  const upgrade::UpgradeContext context(services_);
  const std::optional<std::string> remembered = upgrade::RememberCurrentFolder(files);
  if (files.ChangeFolder("\\scope")) {
    files.MakeFolder("masks");
    upgrade::SetFolderAttributes(files, "c:\\scope\\masks", /*hide=*/false);
  }
  if (remembered) files.ChangeFolder(*remembered);
}

bool DisplayAndStartup::RenameList(std::string_view path) {
  return CarryOutRenameList(services_.platform, path);
}

void DisplayAndStartup::AutoexecEntry() {
  AddAutoexecEntry(services_.platform.files);
}

bool DisplayAndStartup::DisplayModeCheck() {
  return services_.platform.desktop.NumColors() == kMoreThan256Colours;
}

int DisplayAndStartup::DisplayModeChange() {
  return services_.platform.desktop.ChangeDisplayBits(kDisplayBits, /*update_registry=*/true);
}

void DisplayAndStartup::DeferredInstaller() {
  RegisterDeferredInstaller(services_.platform, services_.process);
}

}  // namespace qv::instrument
