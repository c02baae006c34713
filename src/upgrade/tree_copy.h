// Installs an expanded upgrade: saves the instrument's calibration and
// set-up folders into the backup tree, then copies the staging tree over
// drive C: file by file (c:\scope\upgrade\scope\... into c:\scope\..., a
// file directly in c:\scope\upgrade into c:\), overwriting read-only older
// copies. Folders named temp or lan are never copied: the package stays in
// the staging tree, and LAN features are installed by their own step; nor
// are the archive library's temporary files. Each file's name goes into the
// upgrade log and into the status box; each failure costs a message box
// and a log line with the system's reason, and the copy goes on.
//
// The backup is what the owner cannot get back, so it is taken whole
// before anything is installed, each file whole or not at all, and never
// overwritten by a later attempt of the same upgrade.
#pragma once

#include <string>
#include <string_view>

#include "app/status_box.h"
#include "app/subsystems.h"
#include "upgrade/upgrade_log.h"

namespace qv::upgrade {

// What the tree copy does with the backup tree before it installs.
enum class Backup {
  kNone,      // nothing
  kSave,      // saves cal and setups, replacing what the backup tree holds
  kComplete,  // saves what an interrupted attempt did not: saved files stay
  kSaved,     // an earlier attempt saved everything: nothing more
};

class TreeCopy {
 public:
  // Everything given must outlive the copy.
  TreeCopy(const app::Services& services, UpgradeLog& log) : services_(services), log_(log) {}

  // Sets the restart flag, shows the status box, takes the backup, records
  // it in the failure marker, installs the staging tree, and closes the
  // box. True when every file was saved and installed; a backup that is not
  // complete installs nothing.
  bool Run(Backup backup);

  // Copies the folder tree source into destination (created when missing;
  // empty: the root of the current drive). False when the source cannot be
  // entered or read, the destination cannot be made, or a file failed.
  // Leaves the last folder visited current.
  bool CopyFolder(const std::string& source, const std::string& destination);

 private:
  bool CopyFile(const std::string& name, const std::string& source, const std::string& destination);
  // The message box and the log line for a file that was not copied.
  void ReportFailedFile(const std::string& destination);

  const app::Services& services_;
  UpgradeLog& log_;
  app::StatusBox* box_ = nullptr;  // the status box of the running copy
  bool saving_ = false;            // copying into the backup tree
  bool keep_saved_ = false;        // files already in the backup tree stay
};

}  // namespace qv::upgrade
