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
  // No read follows; known to LineReader only.
  bool ends_file = false;

  // Whether the read is a line of its own to act on: one that ends in a
  // line feed, or the file's last, which an editor may leave open.
  bool IsLine() const { return ended_by_line_feed || ends_file; }
};

inline std::optional<LineRead> ReadLine(platform::Stream& stream) {
  std::optional<std::string> read = stream.GetLine(kLineReadLength);
  if (!read) return std::nullopt;
  LineRead line{.text = std::move(*read)};
  if (!line.text.empty() && line.text.back() == '\n') {
    line.text.pop_back();
    line.ended_by_line_feed = true;
  }
  return line;
}

// Reads as ReadLine does, one read ahead, so that each read knows whether it
// is the file's last. The stream must outlive the reader.
class LineReader {
 public:
  explicit LineReader(platform::Stream& stream) : stream_(stream), next_(ReadLine(stream)) {}

  std::optional<LineRead> Next() {
    std::optional<LineRead> line = std::move(next_);
    if (!line) return line;
    next_ = ReadLine(stream_);
    line->ends_file = !next_;
    return line;
  }

 private:
  platform::Stream& stream_;
  std::optional<LineRead> next_;
};

}  // namespace qv::instrument
