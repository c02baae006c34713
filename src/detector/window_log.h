// The window log c:\scope\bin\procname.log: one line per program window
// that the first scan of a run examined, its title with "*" after it when
// the title was on the skip list. The file is written in text mode, and
// each line is given its own CR before the line feed, so lines end in
// CR CR LF.
#pragma once

#include <string_view>

#include "platform/files.h"

namespace qv::detector {

inline constexpr std::string_view kWindowLogPath = "c:\\scope\\bin\\procname.log";

class WindowLog {
 public:
  // The files must outlive the log.
  explicit WindowLog(platform::Files& files) : files_(files) {}

  // Creates or empties the file; without it, lines go nowhere.
  void Create();
  void WriteLine(std::string_view line);
  // Flushes and closes; later lines go nowhere.
  void Close();

 private:
  platform::Files& files_;
  platform::Stream stream_;
};

}  // namespace qv::detector
