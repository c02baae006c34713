// Installs an expanded upgrade: saves the instrument's calibration and
// set-up folders into the backup tree, then copies the staging tree over
// drive C: file by file (c:\scope\upgrade\scope\... into c:\scope\..., a
// file directly in c:\scope\upgrade into c:\), overwriting read-only older
// copies. Folders named temp or lan are never copied: the package stays in
// the staging tree, and LAN features are installed by their own step. Each
// file's name goes into the upgrade log and into the status box; each
// failure costs a message box and the copy goes on.
#pragma once

#include <string>
#include <string_view>

#include "app/status_box.h"
#include "app/subsystems.h"
#include "upgrade/upgrade_log.h"

namespace qv::upgrade {

class TreeCopy {
 public:
  // Everything given must outlive the copy.
  TreeCopy(const app::Services& services, UpgradeLog& log) : services_(services), log_(log) {}

  // Sets the restart flag, shows the status box, saves cal and setups into
  // the backup tree when backup is set, installs the staging tree, and
  // closes the box.
  void Run(bool backup);

  // Copies the folder tree source into destination (created when missing;
  // empty: the root of the current drive). False when the source cannot be
  // entered or the destination cannot be made; single files that fail do
  // not change the result. Leaves the last folder visited current.
  bool CopyFolder(const std::string& source, const std::string& destination);

 private:
  void CopyFile(const std::string& name, const std::string& source, const std::string& destination);

  const app::Services& services_;
  UpgradeLog& log_;
  app::StatusBox* box_ = nullptr;  // the status box of the running copy
};

// Gives an existing destination write permission, then copies over it (the
// copy takes the source's attributes).
bool CopyFileOver(platform::Files& files, std::string_view source, std::string_view destination);

}  // namespace qv::upgrade
