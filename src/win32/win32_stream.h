// A stream of the system's C run time (msvcrt): its FILE does the text-mode
// translation (CR LF, the Ctrl-Z that ends a file) itself.
#pragma once

#include <cstdio>

#include "platform/stream.h"

namespace qv::win32 {

class Win32Stream : public platform::StreamPort {
 public:
  // Takes ownership of the open file.
  explicit Win32Stream(std::FILE* file) : file_(file) {}
  ~Win32Stream() override;
  Win32Stream(const Win32Stream&) = delete;
  Win32Stream& operator=(const Win32Stream&) = delete;

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  bool Seek(std::int64_t offset, platform::SeekOrigin origin) override;
  std::int64_t Tell() override;
  bool AtEnd() const override;
  bool HasError() const override;
  bool Flush() override;
  bool Close() override;

 private:
  std::FILE* file_;
};

}  // namespace qv::win32
