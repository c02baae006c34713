// Reading the request files the loader is left (c:\chname, c:\autoexec.bat)
// as its C run time does: reads of at most 127 characters in text mode,
// each up to and including a line feed.
#pragma once

#include <optional>
#include <string>

#include "platform/stream.h"

namespace qv::instrument {

inline constexpr std::size_t kLineReadLength = 127;

// The next read: its text with a line feed at its end removed, and whether
// it had one. nullopt at the end of the file.
struct LineRead {
  std::string text;
  bool ended_by_line_feed = false;
};

inline std::optional<LineRead> ReadLine(platform::Stream& stream) {
  std::optional<std::string> read = stream.GetLine(kLineReadLength);
  if (!read) return std::nullopt;
  LineRead line{std::move(*read), false};
  if (!line.text.empty() && line.text.back() == '\n') {
    line.text.pop_back();
    line.ended_by_line_feed = true;
  }
  return line;
}

}  // namespace qv::instrument
