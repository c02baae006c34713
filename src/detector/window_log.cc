#include "detector/window_log.h"

#include <string>

namespace qv::detector {

void WindowLog::Create() {
  platform::Result<platform::Stream> stream = files_.Open(kWindowLogPath, "w+");
  if (stream) stream_ = std::move(*stream);
}

void WindowLog::WriteLine(std::string_view line) {
  if (stream_) stream_.Write(std::string(line) + "\r\n");
}

void WindowLog::Close() {
  if (!stream_) return;
  stream_.Flush();
  stream_.Close();
}

}  // namespace qv::detector
