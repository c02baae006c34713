#include "upgrade/package_files.h"

#include "upgrade/package_names.h"

namespace qv::upgrade {
namespace {

constexpr std::string_view kStagedBin = "\\scope\\upgrade\\scope\\bin";
constexpr std::string_view kInstalledBin = "\\scope\\bin";
constexpr std::string_view kNewLoader = "qv731ldr.exe";
constexpr std::string_view kPreloader = "preldr.exe";

bool Exists(platform::Files& files, std::string_view path) {
  return files.Access(path, platform::AccessCheck::kExists).ok();
}

}  // namespace

bool EnterStagingFolder(platform::Files& files) {
  return files.ChangeFolder(kStagingTempFolder).ok();
}

bool FailureMarkerExists(platform::Files& files) {
  return EnterStagingFolder(files) && Exists(files, kFailureMarker);
}

bool CreateFailureMarker(platform::Files& files) {
  if (!EnterStagingFolder(files)) return false;
  platform::Result<platform::Stream> marker = files.Open(kFailureMarker, "wb");
  return marker && marker->Close();
}

bool RemoveFailureMarker(platform::Files& files) {
  if (!EnterStagingFolder(files)) return false;
  files.SetWritable(kArchiveFile, true);
  files.Remove(kFailureMarker);
  return true;
}

void RemoveUpgradeHeader(platform::Files& files) {
  // Without the staging folder there is no header here, and a name relative
  // to some other folder must not be deleted.
  if (!EnterStagingFolder(files)) return;
  files.SetWritable(kHeaderFile, true);
  files.SetWritable(kArchiveFile, true);
  files.Remove(kHeaderFile);
}

bool NewLoaderInPackage(platform::Files& files) {
  return files.ChangeFolder(kStagedBin).ok() && Exists(files, kNewLoader);
}

HandOver PreloaderHandOver(platform::Files& files) {
  if (!files.ChangeFolder(kStagedBin)) return HandOver::kFolderMissing;
  if (!Exists(files, kPreloader)) {
    if (!files.ChangeFolder(kInstalledBin)) return HandOver::kFolderMissing;
    return Exists(files, kPreloader) ? HandOver::kStartPreloader : HandOver::kNoPreloader;
  }
  // The replaced pre-loader and the running loader go into the backup tree;
  // none of these steps can stop the hand-over.
  files.ChangeFolder(kInstalledBin);
  files.SetWritable(kPreloader, true);
  files.Move(kPreloader, "\\scope\\old_rev\\scope\\bin\\preldr.exe", /*replace_existing=*/true);
  files.Copy("qv731Ldr.exe", "\\scope\\old_rev\\scope\\bin\\qv731Ldr.exe",
             /*fail_if_exists=*/false);
  files.Rename("\\scope\\upgrade\\scope\\bin\\preldr.exe", "\\scope\\bin\\preldr.exe");
  return HandOver::kStartPreloader;
}

}  // namespace qv::upgrade
