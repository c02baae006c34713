// The codec's byte streams over host files, and an output file that appears
// under its name only when it is complete.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "codec/byte_streams.h"

namespace qv::arq {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a host file for binary reading; null with errno set on failure.
FileHandle OpenForReading(const std::filesystem::path& path);

// The status of an open host file, or nothing when it cannot be had or the
// file is too large for a member (4 GiB and more).
std::optional<codec::FileStatus> StatusOf(std::FILE* file);

class HostPackedSource final : public codec::PackedSource {
 public:
  explicit HostPackedSource(std::FILE* file) : file_(file) {}
  int ReadByte() override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;

 private:
  std::FILE* file_;
};

class HostPackInput final : public codec::PackInput {
 public:
  explicit HostPackInput(std::FILE* file) : file_(file) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  bool Rewind() override;
  std::optional<codec::FileStatus> ReadStatus() override { return StatusOf(file_); }

 private:
  std::FILE* file_;
};

// A host file being written (a fixed disk, drive C:).
class HostPackOutput final : public codec::PackOutput {
 public:
  explicit HostPackOutput(std::FILE* file) : file_(file) {}
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::int64_t Tell() override;
  bool Seek(std::int64_t position) override;
  bool OnRemovableDrive() override { return false; }
  int DriveNumber() override { return 2; }

 private:
  std::FILE* file_;
};

// Writes go to a partial file beside the target, which takes the target's
// name on Commit and is removed otherwise. A target that exists and is not a
// regular file (a device such as /dev/null, a pipe) is written in place:
// a rename would put a file where the device was.
class OutputFile {
 public:
  explicit OutputFile(std::filesystem::path target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Null with errno set when the file could not be created or opened.
  std::FILE* file() const { return file_.get(); }
  // Closes the file and gives it the target's name; false on failure.
  bool Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path partial_;  // empty when written in place
  FileHandle file_;
  bool committed_ = false;
};

}  // namespace qv::arq
