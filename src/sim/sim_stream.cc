#include "sim/sim_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace qv::sim {

using platform::WinError;

namespace {
constexpr std::size_t kAheadBytes = 4096;
constexpr std::size_t kBatchBytes = std::size_t{64} << 10;
constexpr std::uint8_t kCtrlZ = 0x1A;
}  // namespace

SimStream::SimStream(int fd, platform::StreamMode mode, std::shared_ptr<Drive> drive,
                     OpenFiles::Token token, std::shared_ptr<ThreadState> thread)
    : fd_(fd),
      mode_(mode),
      drive_(std::move(drive)),
      token_(std::move(token)),
      thread_(std::move(thread)) {}

SimStream::~SimStream() {
  Close();
}

void SimStream::Fail(WinError error) {
  thread_->last_error = error;
  error_ = true;
}

std::int64_t SimStream::Size() {
  WriteBatch();
  struct stat info;
  return ::fstat(fd_, &info) == 0 ? info.st_size : 0;
}

bool SimStream::Ahead(std::int64_t offset) const {
  return offset >= ahead_start_ && offset < ahead_start_ + static_cast<std::int64_t>(ahead_.size());
}

int SimStream::RawAt(std::int64_t offset) {
  if (!Ahead(offset)) {
    ahead_.resize(kAheadBytes);
    const ssize_t n = ::pread(fd_, ahead_.data(), kAheadBytes, offset);
    ahead_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    ahead_start_ = offset;
    if (ahead_.empty()) return -1;
  }
  return ahead_[static_cast<std::size_t>(offset - ahead_start_)];
}

std::size_t SimStream::Read(std::span<std::uint8_t> buffer) {
  if (fd_ < 0) return 0;
  if (!mode_.CanRead()) {
    Fail(WinError::kAccessDenied);
    return 0;
  }
  if (!WriteBatch()) return 0;
  std::size_t count = 0;
  if (mode_.binary) {
    // Untranslated: whole runs of the read-ahead at a time, and a large
    // request that starts past it straight into the caller's buffer.
    while (count < buffer.size()) {
      const std::size_t want = buffer.size() - count;
      if (want >= kAheadBytes && !Ahead(position_)) {
        const ssize_t n = ::pread(fd_, buffer.data() + count, want, position_);
        if (n <= 0) {
          at_end_ = true;
          break;
        }
        count += static_cast<std::size_t>(n);
        position_ += n;
        continue;
      }
      if (RawAt(position_) < 0) {
        at_end_ = true;
        break;
      }
      const auto offset = static_cast<std::size_t>(position_ - ahead_start_);
      const std::size_t take = std::min(buffer.size() - count, ahead_.size() - offset);
      std::copy_n(ahead_.data() + offset, take, buffer.data() + count);
      count += take;
      position_ += static_cast<std::int64_t>(take);
    }
    return count;
  }
  while (count < buffer.size()) {
    const int byte = RawAt(position_);
    if (byte < 0 || (!mode_.binary && byte == kCtrlZ)) {
      at_end_ = true;
      break;
    }
    if (!mode_.binary && byte == '\r' && RawAt(position_ + 1) == '\n') {
      buffer[count++] = '\n';
      position_ += 2;
      continue;
    }
    buffer[count++] = static_cast<std::uint8_t>(byte);
    ++position_;
  }
  return count;
}

std::size_t SimStream::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || bytes.empty()) return 0;
  if (!mode_.CanWrite()) {
    Fail(WinError::kAccessDenied);
    return 0;
  }
  std::vector<std::uint8_t> translated;
  std::span<const std::uint8_t> raw = bytes;
  if (!mode_.binary) {
    translated.reserve(bytes.size() + bytes.size() / 8);
    for (const std::uint8_t byte : bytes) {
      if (byte == '\n') translated.push_back('\r');
      translated.push_back(byte);
    }
    raw = translated;
  }
  // The file's size costs a system call: only an append and a drive that
  // counts its space need it.
  if (mode_.Appends() || drive_->counts_space()) {
    const std::int64_t size = Size();
    if (mode_.Appends()) position_ = size;
    const std::int64_t end = std::max(size, position_ + static_cast<std::int64_t>(raw.size()));
    if (!drive_->Resize(static_cast<std::uint64_t>(size), static_cast<std::uint64_t>(end))) {
      Fail(WinError::kDiskFull);
      return 0;
    }
  }
  ahead_.clear();
  if (!drive_->batches_writes()) {
    const std::size_t written = WriteToHost(raw, position_);
    position_ += static_cast<std::int64_t>(written);
    return written == raw.size() ? bytes.size() : 0;
  }
  if (!batch_.empty() && batch_at_ + static_cast<std::int64_t>(batch_.size()) != position_ &&
      !WriteBatch()) {
    return 0;
  }
  if (batch_.empty()) {
    batch_at_ = position_;
    batch_.reserve(kBatchBytes);
  }
  batch_.insert(batch_.end(), raw.begin(), raw.end());
  position_ += static_cast<std::int64_t>(raw.size());
  if (batch_.size() >= kBatchBytes && !WriteBatch()) return 0;
  return bytes.size();
}

std::size_t SimStream::WriteToHost(std::span<const std::uint8_t> raw, std::int64_t offset) {
  std::size_t done = 0;
  while (done < raw.size()) {
    const ssize_t n = ::pwrite(fd_, raw.data() + done, raw.size() - done,
                               offset + static_cast<std::int64_t>(done));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done < raw.size()) {
    drive_->Recount();
    Fail(WinError::kWriteFault);
  }
  return done;
}

bool SimStream::WriteBatch() {
  if (batch_.empty()) return true;
  const bool written = WriteToHost(batch_, batch_at_) == batch_.size();
  batch_.clear();
  return written;
}

bool SimStream::Seek(std::int64_t offset, platform::SeekOrigin origin) {
  if (fd_ < 0) return false;
  const std::int64_t base = origin == platform::SeekOrigin::kBegin     ? 0
                            : origin == platform::SeekOrigin::kCurrent ? position_
                                                                       : Size();
  if (base + offset < 0) {
    thread_->last_error = WinError::kNegativeSeek;
    return false;
  }
  position_ = base + offset;
  at_end_ = false;
  return true;
}

std::int64_t SimStream::Tell() {
  return fd_ < 0 ? -1 : position_;
}

bool SimStream::Close() {
  if (fd_ < 0) return false;
  const bool written = WriteBatch();
  const bool closed = ::close(fd_) == 0 && written;
  fd_ = -1;
  token_.Release();
  return closed;
}

}  // namespace qv::sim
