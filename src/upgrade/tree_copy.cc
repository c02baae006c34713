#include "upgrade/tree_copy.h"

#include <optional>

#include "upgrade/current_folder.h"
#include "upgrade/text_case.h"

namespace qv::upgrade {
namespace {

bool IsNeverCopied(const std::string& folder_name) {
  const std::string lower = ToLower(folder_name);
  return lower == "." || lower == ".." || lower == "temp" || lower == "lan";
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

void TreeCopy::Run(bool backup) {
  services_.process.restart = true;
  app::StatusBox box(services_.platform.desktop);
  box.SetText("Starting File Copy");
  box.Create();
  box.SetCaption("Copying.......");
  box_ = &box;
  if (backup) {
    CopyFolder("c:\\scope\\cal", "c:\\scope\\old_rev\\scope\\cal");
    CopyFolder("c:\\scope\\setups", "c:\\scope\\old_rev\\scope\\setups");
  }
  CopyFolder("c:\\scope\\upgrade", "");
  box_ = nullptr;
  box.Destroy();
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
    return true;
  }
  for (const platform::FindData& entry : *entries) {
    const std::string source_path = source + "\\" + entry.name;
    const std::string destination_path = destination + "\\" + entry.name;
    if ((entry.attributes & platform::attribute::kDirectory) != 0) {
      if (!IsNeverCopied(entry.name)) CopyFolder(source_path, destination_path);
    } else {
      CopyFile(entry.name, source_path, destination_path);
    }
  }
  return true;
}

void TreeCopy::CopyFile(const std::string& name, const std::string& source,
                        const std::string& destination) {
  if (box_ != nullptr) box_->SetText("Copying file: " + name);
  log_.WriteText(name + "\n");
  if (!CopyFileOver(services_.platform.files, source, destination)) {
    services_.helpers.OkBox("Failed to copy file " + destination);
  }
}

bool CopyFileOver(platform::Files& files, std::string_view source, std::string_view destination) {
  if (files.Access(destination, platform::AccessCheck::kExists)) {
    files.SetWritable(destination, true);
  }
  return files.Copy(source, destination, /*fail_if_exists=*/false).ok();
}

}  // namespace qv::upgrade
