#include "win32/win32_stream.h"

#include <limits>

namespace qv::win32 {

Win32Stream::~Win32Stream() {
  Close();
}

std::size_t Win32Stream::Read(std::span<std::uint8_t> buffer) {
  return file_ ? std::fread(buffer.data(), 1, buffer.size(), file_) : 0;
}

std::size_t Win32Stream::Write(std::span<const std::uint8_t> bytes) {
  return file_ ? std::fwrite(bytes.data(), 1, bytes.size(), file_) : 0;
}

bool Win32Stream::Seek(std::int64_t offset, platform::SeekOrigin origin) {
  // The run time of the instrument's system seeks with a long: files there
  // stay below 2 GiB.
  if (!file_ || offset < std::numeric_limits<long>::min() ||
      offset > std::numeric_limits<long>::max()) {
    return false;
  }
  return std::fseek(file_, static_cast<long>(offset), static_cast<int>(origin)) == 0;
}

std::int64_t Win32Stream::Tell() {
  return file_ ? std::ftell(file_) : -1;
}

bool Win32Stream::AtEnd() const {
  return file_ && std::feof(file_) != 0;
}

bool Win32Stream::HasError() const {
  return file_ && std::ferror(file_) != 0;
}

bool Win32Stream::Flush() {
  return file_ && std::fflush(file_) == 0;
}

bool Win32Stream::Close() {
  if (!file_) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

}  // namespace qv::win32
