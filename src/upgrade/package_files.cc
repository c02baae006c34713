#include "upgrade/package_files.h"

#include <algorithm>

#include "upgrade/file_copies.h"
#include "upgrade/package_names.h"

namespace qv::upgrade {
namespace {

constexpr std::string_view kStagedBin = "\\scope\\upgrade\\scope\\bin";
constexpr std::string_view kInstalledBin = "\\scope\\bin";
constexpr std::string_view kNewLoader = "qv731ldr.exe";
constexpr std::string_view kPreloader = "preldr.exe";
constexpr std::string_view kStagedPreloader = "\\scope\\upgrade\\scope\\bin\\preldr.exe";
constexpr std::string_view kSavedPreloader = "\\scope\\old_rev\\scope\\bin\\preldr.exe";

constexpr char kBackupSavedMark = 'B';

void MakeWritable(platform::Files& files, std::string_view path) {
  if (Exists(files, path)) files.SetWritable(path, true);
}

// One character appended, so that what the marker held stays whatever
// becomes of the write.
bool AppendToMarker(platform::Files& files, char mark) {
  if (!EnterStagingFolder(files)) return false;
  MakeWritable(files, kFailureMarker);
  platform::Result<platform::Stream> marker = files.Open(kFailureMarker, "ab");
  if (!marker) return false;
  const bool written = marker->Write(std::string_view(&mark, 1)) == 1;
  return marker->Close() && written;
}

platform::Outcome EnterStagingFolderOutcome(platform::Files& files) {
  return files.ChangeFolder(kStagingTempFolder);
}

}  // namespace

bool EnterStagingFolder(platform::Files& files) {
  return EnterStagingFolderOutcome(files).ok();
}

bool FailureMarkerExists(platform::Files& files) {
  return EnterStagingFolder(files) && Exists(files, kFailureMarker);
}

std::optional<FailureMarker> ReadFailureMarker(platform::Files& files) {
  if (!FailureMarkerExists(files)) return std::nullopt;
  FailureMarker record;
  // An unreadable marker still stands for an interrupted attempt.
  platform::Result<platform::Stream> marker = files.Open(kFailureMarker, "rb");
  for (int c = marker ? marker->GetChar() : platform::Stream::kEof; c != platform::Stream::kEof;
       c = marker->GetChar()) {
    if (c >= '1' && c <= '9') ++record.attempts;
    if (c == kBackupSavedMark) record.backup_saved = true;
  }
  record.attempts = std::max(record.attempts, 1);
  return record;
}

bool CreateFailureMarker(platform::Files& files) {
  const std::optional<FailureMarker> earlier = ReadFailureMarker(files);
  const int attempt = earlier ? earlier->attempts + 1 : 1;
  return AppendToMarker(files, static_cast<char>('0' + std::min(attempt, 9)));
}

bool NoteBackupSaved(platform::Files& files) {
  return AppendToMarker(files, kBackupSavedMark);
}

bool RemoveFailureMarker(platform::Files& files) {
  if (!EnterStagingFolder(files)) return false;
  files.SetWritable(kArchiveFile, true);
  MakeWritable(files, kFailureMarker);
  files.Remove(kFailureMarker);
  return true;
}

bool RemoveUpgradeHeader(platform::Files& files) {
  // Without the staging folder there is no header here, and a name relative
  // to some other folder must not be deleted.
  if (const platform::Outcome entered = EnterStagingFolderOutcome(files); !entered) {
    return entered.error() == platform::WinError::kPathNotFound ||
           entered.error() == platform::WinError::kFileNotFound;
  }
  files.SetWritable(kHeaderFile, true);
  files.SetWritable(kArchiveFile, true);
  const platform::Outcome removed = files.Remove(kHeaderFile);
  return removed || removed.error() == platform::WinError::kFileNotFound;
}

bool NewLoaderInPackage(platform::Files& files) {
  return files.ChangeFolder(kStagedBin).ok() && Exists(files, kNewLoader);
}

HandOver PreloaderHandOver(platform::Files& files, bool retry) {
  if (!files.ChangeFolder(kStagedBin)) return HandOver::kFolderMissing;
  if (!Exists(files, kPreloader)) {
    if (!files.ChangeFolder(kInstalledBin)) return HandOver::kFolderMissing;
    return Exists(files, kPreloader) ? HandOver::kStartPreloader : HandOver::kNoPreloader;
  }
  // The replaced pre-loader and the running loader go into the backup tree;
  // none of these steps can stop the hand-over. A retry finds the replaced
  // pre-loader saved already: the installed one is the package's by then
  // (or missing), and must not take the saved one's place.
  files.ChangeFolder(kInstalledBin);
  if (!(retry && Exists(files, kSavedPreloader))) {
    MakeWritable(files, kSavedPreloader);
    files.SetWritable(kPreloader, true);
    files.Move(kPreloader, kSavedPreloader, /*replace_existing=*/true);
  }
  SaveCopy(files, "qv731Ldr.exe", "\\scope\\old_rev\\scope\\bin\\qv731Ldr.exe",
           /*keep_existing=*/retry);
  // Only a pre-loader that is saved may be replaced.
  if (Exists(files, kSavedPreloader)) {
    MakeWritable(files, kPreloader);
    files.Move(kStagedPreloader, kPreloader, /*replace_existing=*/true);
  } else {
    files.Rename(kStagedPreloader, kPreloader);
  }
  return HandOver::kStartPreloader;
}

}  // namespace qv::upgrade
