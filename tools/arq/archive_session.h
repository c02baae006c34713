// One run of the archive library for an arq command: the progress callback
// that draws the progress bar, prints the library's message for every
// member that fails, moves gathering files into arq's scratch folder, and
// answers the disk prompts of --disks by inserting the next folder (or, when
// there is none, by cancelling, so that the library ends with its message).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "codec/events.h"
#include "tools/arq/host_drives.h"
#include "tools/arq/progress_bar.h"
#include "tools/arq/terminal_text.h"

namespace qv::arq {

// A member's name as read ('\\' between names) as arq shows it: with '/'.
// A name that begins with a drive stays as stored ("C:/TMP/X.TXT"); it is
// no path of the host's.
std::string MemberName(std::string_view name);

class ArchiveSession {
 public:
  ArchiveSession(HostDrives& drives, bool show_progress);

  // The callback to install as the library's progress callback.
  ProgressCallback Callback();
  // Runs before the session's own handling of every event; its result is
  // the callback's (event 44: nonzero passes the member over).
  void SetHook(ProgressCallback hook) { hook_ = std::move(hook); }
  // Names under this DOS folder are shown relative to it.
  void SetDestination(std::string destination) { destination_ = std::move(destination); }

  // A member failed: prints "arq: NAME: WHAT" and counts it.
  void MemberFailed(std::string_view name, std::string_view what);
  int failures() const { return failures_; }
  // Whether the library was cancelled for want of a disk.
  bool out_of_disks() const { return out_of_disks_; }
  // How the record's name is shown: a host path, or a member name with '/'.
  std::string Shown(const MemberRecord& record) const;
  void ClearProgress() { bar_.Clear(); }

 private:
  void Handle(MemberRecord& record, std::int32_t event, std::int32_t value);
  void AskedForDisk(MemberRecord& record, int number);

  HostDrives& drives_;
  ProgressBar bar_;
  ProgressCallback hook_;
  std::string destination_;
  std::string scratch_;  // DOS path of the scratch folder
  int next_disk_ = 2;    // the disk the next writing prompt inserts
  int failures_ = 0;
  bool out_of_disks_ = false;
};

}  // namespace qv::arq
