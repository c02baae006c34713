// Open files as the C run time keeps them (FILE). A platform implements
// StreamPort; callers hold the move-only Stream, which closes the file when it
// goes away. In text mode the port writes LF as CR LF, reads CR LF as LF and
// ends the file at a Ctrl-Z; positions are byte offsets in the file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::platform {

enum class SeekOrigin : int { kBegin = 0, kCurrent = 1, kEnd = 2 };

class StreamPort {
 public:
  virtual ~StreamPort() = default;  // closes the file if Close was not called

  // fread / fwrite: the count transferred; short on end of file or error.
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
  // fseek: false on failure (a position before the start, a closed stream).
  // Clears the end-of-file mark.
  virtual bool Seek(std::int64_t offset, SeekOrigin origin) = 0;
  // ftell: -1 on failure.
  virtual std::int64_t Tell() = 0;
  virtual bool AtEnd() const = 0;     // feof
  virtual bool HasError() const = 0;  // ferror
  virtual bool Flush() = 0;           // fflush
  virtual bool Close() = 0;           // fclose: false when closing failed
};

class Stream {
 public:
  static constexpr int kEof = -1;

  Stream() = default;
  explicit Stream(std::unique_ptr<StreamPort> port) : port_(std::move(port)) {}
  Stream(Stream&&) noexcept = default;
  Stream& operator=(Stream&& other) noexcept;
  ~Stream();

  explicit operator bool() const { return port_ != nullptr; }

  std::size_t Read(std::span<std::uint8_t> buffer);
  std::size_t Write(std::span<const std::uint8_t> bytes);
  std::size_t Write(std::string_view text);
  // fgetc / fputc: the byte (0..255), or kEof.
  int GetChar();
  int PutChar(int byte);
  // fgets with room for max_chars characters: reads up to and including a
  // line feed, or max_chars characters, or to the end; nullopt when the end
  // came before any character.
  std::optional<std::string> GetLine(std::size_t max_chars);
  bool Seek(std::int64_t offset, SeekOrigin origin);
  std::int64_t Tell();
  bool AtEnd() const;
  bool HasError() const;
  bool Flush();
  // fclose; the stream is empty afterwards whatever the result.
  bool Close();

  // For wrappers that put their own port around this one.
  std::unique_ptr<StreamPort> Release() { return std::move(port_); }

 private:
  std::unique_ptr<StreamPort> port_;
};

}  // namespace qv::platform
