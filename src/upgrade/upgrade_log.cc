#include "upgrade/upgrade_log.h"

#include <cstdio>

namespace qv::upgrade {
namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

template <std::size_t N>
const char* NameOf(const char* const (&names)[N], int index) {
  return index >= 0 && static_cast<std::size_t>(index) < N ? names[index] : "???";
}

}  // namespace

std::string TimeText(const platform::LocalTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n",
                NameOf(kDayNames, time.day_of_week), NameOf(kMonthNames, time.month - 1), time.day,
                time.hour, time.minute, time.second, time.year);
  return text;
}

bool UpgradeLog::WriteOpeningLines(const UpgradeHeader& header) {
  platform::Result<platform::Stream> log = files_.Open(kUpgradeLogPath, "a+");
  if (!log) return false;
  log_ = std::move(*log);
  WriteText("Upgrade began " + TimeText(system_.Now()) + "\n");
  WriteText("Part Number: " + header.part_number() + "\n");
  WriteText("  File Name: " + header.archive_name() + "\n");
  return true;
}

void UpgradeLog::WriteClosingLine() {
  WriteEndLine("Upgrade completed ");
}

void UpgradeLog::WriteFailedLine() {
  WriteEndLine("Upgrade failed ");
}

void UpgradeLog::WriteEndLine(std::string_view format_head) {
  const std::string time = TimeText(system_.Now());
  WriteText(std::string(format_head) + time + "\n");
  if (log_) log_.Close();
}

bool UpgradeLog::WriteText(std::string_view text) {
  return log_ && log_.Write(text) == text.size();
}

bool LoggedSystemError(platform::Platform platform, UpgradeLog* log) {
  // A code the system has no text for shows an empty box and logs nothing.
  const std::string text =
      platform.system.ErrorText(platform.system.LastError()).value_or(std::string());
  platform.desktop.ShowMessageBox(platform::BoxKind::kError, text);
  return log != nullptr && log->WriteText(text);
}

}  // namespace qv::upgrade
