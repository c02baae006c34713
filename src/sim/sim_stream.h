// A stream of the simulated C run time over a host file. Writes go straight
// to the host file (so what a power cut leaves is exactly what was written),
// or in batches on a drive that batches them (a tool's host folder); reads
// go through a small read-ahead buffer. Text mode is translated here:
// LF is written as CR LF, CR LF is read as LF, and a Ctrl-Z ends the file for
// reading. Positions are byte offsets in the host file.
#pragma once

#include <memory>
#include <vector>

#include "platform/stream.h"
#include "platform/stream_mode.h"
#include "sim/drive.h"
#include "sim/open_files.h"
#include "sim/thread_state.h"

namespace qv::sim {

class SimStream : public platform::StreamPort {
 public:
  // Takes ownership of the host descriptor.
  SimStream(int fd, platform::StreamMode mode, std::shared_ptr<Drive> drive, OpenFiles::Token token,
            std::shared_ptr<ThreadState> thread);
  ~SimStream() override;

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  bool Seek(std::int64_t offset, platform::SeekOrigin origin) override;
  std::int64_t Tell() override;
  bool AtEnd() const override { return at_end_; }
  bool HasError() const override { return error_; }
  bool Flush() override { return fd_ >= 0 && WriteBatch(); }
  bool Close() override;

 private:
  // Whether the read-ahead holds the byte at the offset.
  bool Ahead(std::int64_t offset) const;
  // The raw byte at an offset, or -1 past the end (fills the read-ahead).
  int RawAt(std::int64_t offset);
  std::int64_t Size();
  void Fail(platform::WinError error);
  // Writes the bytes to the host file at the offset; returns how many the
  // host took, and when fewer than all, counts the drive's space again and
  // fails the stream.
  std::size_t WriteToHost(std::span<const std::uint8_t> raw, std::int64_t offset);
  // Writes the batch to the host file; false when it failed.
  bool WriteBatch();

  int fd_;
  platform::StreamMode mode_;
  std::shared_ptr<Drive> drive_;
  OpenFiles::Token token_;
  std::shared_ptr<ThreadState> thread_;
  std::int64_t position_ = 0;
  std::vector<std::uint8_t> ahead_;
  std::int64_t ahead_start_ = 0;
  bool at_end_ = false;
  bool error_ = false;
  // Bytes written but not yet passed to the host file, from batch_at_.
  std::vector<std::uint8_t> batch_;
  std::int64_t batch_at_ = 0;
};

}  // namespace qv::sim
