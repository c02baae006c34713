#include "upgrade/tree_copy.h"

#include <optional>

#include "upgrade/current_folder.h"
#include "upgrade/file_copies.h"
#include "upgrade/package_files.h"
#include "upgrade/text_case.h"

namespace qv::upgrade {
namespace {

bool IsNeverCopied(const std::string& folder_name) {
  const std::string lower = ToLower(folder_name);
  return lower == "." || lower == ".." || lower == "temp" || lower == "lan";
}

// "ZT00001.$$$": what the archive library writes before it renames a
// member into place; one left by a cut is no file of the package.
bool IsArchiveTemporary(const std::string& file_name) {
  const std::string lower = ToLower(file_name);
  return lower.starts_with("zt") && lower.ends_with(".$$$");
}

// The current drive and folder, to be made current again.
class Whereabouts {
 public:
  explicit Whereabouts(platform::Files& files)
      : files_(files), drive_(files.CurrentDrive()), folder_(RememberCurrentFolder(files)) {}

  void RestoreDrive() { files_.ChangeDrive(drive_); }
  void RestoreDriveAndFolder() {
    RestoreDrive();
    if (folder_) files_.ChangeFolder(*folder_);
  }

 private:
  platform::Files& files_;
  char drive_;
  std::optional<std::string> folder_;
};

}  // namespace

bool TreeCopy::Run(Backup backup) {
  services_.process.restart = true;
  app::StatusBox box(services_.platform.desktop);
  box.SetText("Starting File Copy");
  box.Create();
  box.SetCaption("Copying.......");
  box_ = &box;
  bool backed_up = true;
  if (backup == Backup::kSave || backup == Backup::kComplete) {
    saving_ = true;
    keep_saved_ = backup == Backup::kComplete;
    // Both folders are tried, so that the log names every file that failed.
    backed_up = CopyFolder("c:\\scope\\cal", "c:\\scope\\old_rev\\scope\\cal");
    backed_up = CopyFolder("c:\\scope\\setups", "c:\\scope\\old_rev\\scope\\setups") && backed_up;
    saving_ = false;
    backed_up = backed_up && NoteBackupSaved(services_.platform.files);
  }
  const bool installed = backed_up && CopyFolder("c:\\scope\\upgrade", "");
  box_ = nullptr;
  box.Destroy();
  return installed;
}

bool TreeCopy::CopyFolder(const std::string& source, const std::string& destination) {
  platform::Files& files = services_.platform.files;
  Whereabouts remembered(files);
  if (!files.ChangeFolder(source)) {
    services_.helpers.OkBox("Unable to change to source directory " + source);
    LoggedSystemError(services_.platform, &log_);
    remembered.RestoreDrive();
    return false;
  }
  if (!destination.empty() &&
      files.MakeFolder(destination).errno_value() == platform::Errno::kENOENT) {
    services_.helpers.OkBox("Failed to create destination directory " + destination);
    LoggedSystemError(services_.platform, &log_);
    remembered.RestoreDriveAndFolder();
    return false;
  }
  platform::Result<std::vector<platform::FindData>> entries = files.Find("*.*");
  if (!entries) {
    remembered.RestoreDriveAndFolder();
    // A folder the system could not list was not copied.
    return entries.error() == platform::WinError::kFileNotFound;
  }
  bool all_copied = true;
  for (const platform::FindData& entry : *entries) {
    const std::string source_path = source + "\\" + entry.name;
    const std::string destination_path = destination + "\\" + entry.name;
    if ((entry.attributes & platform::attribute::kDirectory) != 0) {
      if (!IsNeverCopied(entry.name))
        all_copied = CopyFolder(source_path, destination_path) && all_copied;
    } else if (!IsArchiveTemporary(entry.name)) {
      all_copied = CopyFile(entry.name, source_path, destination_path) && all_copied;
    }
  }
  return all_copied;
}

bool TreeCopy::CopyFile(const std::string& name, const std::string& source,
                        const std::string& destination) {
  if (box_ != nullptr) box_->SetText("Copying file: " + name);
  log_.WriteText(name + "\n");
  platform::Files& files = services_.platform.files;
  const bool copied = saving_ ? SaveCopy(files, source, destination, keep_saved_)
                              : CopyFileOver(files, source, destination);
  if (!copied) ReportFailedFile(destination);
  return copied;
}

void TreeCopy::ReportFailedFile(const std::string& destination) {
  platform::System& system = services_.platform.system;
  std::string reason = system.ErrorText(system.LastError()).value_or("");
  if (!reason.ends_with('\n')) reason += '\n';
  services_.helpers.OkBox("Failed to copy file " + destination);
  log_.WriteText("Failed to copy file " + destination + " : " + reason);
}

}  // namespace qv::upgrade
