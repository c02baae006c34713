// The upgrade log c:\scope\bin\upgrade.log: the instrument's history of
// upgrades. Each upgrade appends an entry: when it began, the package's
// part number and archive name, every file copied into place, the system's
// text of every error met, and when it ended. A text file: each line feed
// is stored as CR LF.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "upgrade/upgrade_header.h"

namespace qv::upgrade {

inline constexpr std::string_view kUpgradeLogPath = "c:\\scope\\bin\\upgrade.log";

class UpgradeLog {
 public:
  UpgradeLog(platform::Files& files, platform::System& system) : files_(files), system_(system) {}

  // Opens the log (created when missing) and writes the begin line and the
  // header's texts. False, with nothing written, when it cannot be opened:
  // every later write of the run is then lost.
  bool WriteOpeningLines(const UpgradeHeader& header);
  // The end line of an installed upgrade; closes the log.
  void WriteClosingLine();
  // The end line of an upgrade that was not installed; closes the log.
  void WriteFailedLine();
  // The text's bytes; false when they were not all written or no log is
  // open.
  bool WriteText(std::string_view text);

 private:
  void WriteEndLine(std::string_view format_head);

  platform::Files& files_;
  platform::System& system_;
  platform::Stream log_;
};

// The local time as the C run time's asctime writes it: 24 characters and a
// line feed ("Thu May 17 10:00:00 2001\n").
std::string TimeText(const platform::LocalTime& time);

// Shows the system's text for the last error in the framework's error box
// and writes the same text to the log, when one is given and open. The
// result is the write's.
bool LoggedSystemError(platform::Platform platform, UpgradeLog* log);

}  // namespace qv::upgrade
