#include "platform/stream.h"

namespace qv::platform {

Stream& Stream::operator=(Stream&& other) noexcept {
  if (this != &other) {
    Close();
    port_ = std::move(other.port_);
  }
  return *this;
}

Stream::~Stream() {
  Close();
}

std::size_t Stream::Read(std::span<std::uint8_t> buffer) {
  return port_ ? port_->Read(buffer) : 0;
}

std::size_t Stream::Write(std::span<const std::uint8_t> bytes) {
  return port_ ? port_->Write(bytes) : 0;
}

std::size_t Stream::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

int Stream::GetChar() {
  std::uint8_t byte = 0;
  return Read(std::span(&byte, 1)) == 1 ? byte : kEof;
}

int Stream::PutChar(int byte) {
  const auto value = static_cast<std::uint8_t>(byte);
  return Write(std::span(&value, 1)) == 1 ? value : kEof;
}

std::optional<std::string> Stream::GetLine(std::size_t max_chars) {
  std::string line;
  while (line.size() < max_chars) {
    const int c = GetChar();
    if (c == kEof) break;
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  if (line.empty() && max_chars > 0) return std::nullopt;
  return line;
}

bool Stream::Seek(std::int64_t offset, SeekOrigin origin) {
  return port_ && port_->Seek(offset, origin);
}

std::int64_t Stream::Tell() {
  return port_ ? port_->Tell() : -1;
}

bool Stream::AtEnd() const {
  return port_ && port_->AtEnd();
}

bool Stream::HasError() const {
  return port_ && port_->HasError();
}

bool Stream::Flush() {
  return port_ && port_->Flush();
}

bool Stream::Close() {
  if (!port_) return false;
  const bool closed = port_->Close();
  port_.reset();
  return closed;
}

}  // namespace qv::platform
