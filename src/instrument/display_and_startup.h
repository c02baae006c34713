// Small repairs of the system that the main sequence makes at every boot or
// after an upgrade: the system's temporary folder emptied, the masks folder
// made sure of, the rename list carried out, the autoexec.bat entry, the
// display put into 24-bit colour (a change may need a restart), and a
// deferred installer registered to run once at the next start.
#pragma once

#include "app/subsystems.h"

namespace qv::instrument {

// 24 bits per pixel: the colour depth the scope application needs.
inline constexpr int kDisplayBits = 24;

class DisplayAndStartup final : public app::DisplayAndStartup {
 public:
  // The services must outlive the part.
  explicit DisplayAndStartup(const app::Services& services) : services_(services) {}

  // Deletes the files of the folder (not its folders), read-only ones too;
  // the folder stays current.
  void CleanTemp(std::string_view folder) override;
  // Creates c:\scope\masks when missing and gives it the system attribute;
  // the current folder is as the upgrade context leaves it.
  void MasksFolder() override;
  bool RenameList(std::string_view path) override;
  void AutoexecEntry() override;
  bool DisplayModeCheck() override;
  // Asks for 24 bits per pixel, stored for later starts too.
  int DisplayModeChange() override;
  void DeferredInstaller() override;

 private:
  const app::Services& services_;
};

}  // namespace qv::instrument
