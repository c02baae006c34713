#include "tools/arq/host_files.h"

#include <sys/stat.h>

#include <limits>
#include <system_error>

#include "tools/arq/host_drives.h"

namespace qv::arq {

FileHandle OpenForReading(const std::filesystem::path& path) {
  return FileHandle(std::fopen(path.string().c_str(), "rb"));
}

std::optional<codec::FileStatus> StatusOf(std::FILE* file) {
  struct stat status {};
  if (::fstat(fileno(file), &status) != 0) return std::nullopt;
  if (status.st_size < 0 ||
      static_cast<std::uint64_t>(status.st_size) > std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  codec::FileStatus result;
  result.modification_time = static_cast<std::uint32_t>(status.st_mtime);
  result.mode = static_cast<std::uint16_t>(status.st_mode);
  result.owner_id = static_cast<std::int16_t>(status.st_uid);
  result.group_id = static_cast<std::int16_t>(status.st_gid);
  result.size = static_cast<std::uint32_t>(status.st_size);
  return result;
}

int HostPackedSource::ReadByte() {
  return std::fgetc(file_);
}

std::size_t HostPackedSource::Read(std::span<std::uint8_t> buffer) {
  return std::fread(buffer.data(), 1, buffer.size(), file_);
}

std::size_t HostPackInput::Read(std::span<std::uint8_t> buffer) {
  return std::fread(buffer.data(), 1, buffer.size(), file_);
}

bool HostPackInput::Rewind() {
  return std::fseek(file_, 0, SEEK_SET) == 0;
}

std::size_t HostPackOutput::Write(std::span<const std::uint8_t> bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file_);
}

std::int64_t HostPackOutput::Tell() {
  // Buffered bytes count only once they have reached the file.
  if (std::fflush(file_) != 0) return -1;
  return ftello(file_);
}

bool HostPackOutput::Seek(std::int64_t position) {
  return fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
}

namespace {

bool IsSpecialFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

}  // namespace

OutputFile::OutputFile(std::filesystem::path target) : target_(std::move(target)) {
  if (IsSpecialFile(target_)) {
    file_.reset(std::fopen(target_.string().c_str(), "wb"));
    return;
  }
  partial_ = target_.string() + ".partial";
  file_.reset(std::fopen(partial_.string().c_str(), "w+b"));
}

OutputFile::~OutputFile() {
  if (committed_ || partial_.empty()) return;
  file_.reset();
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
}

bool OutputFile::Commit() {
  const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  if (std::fclose(file_.release()) != 0 || !flushed) return false;
  if (partial_.empty()) return committed_ = true;
  committed_ = PutFileInPlace(partial_, target_);
  return committed_;
}

}  // namespace qv::arq
