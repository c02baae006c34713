#include "platform/stream_mode.h"

namespace qv::platform {

std::optional<StreamMode> StreamMode::Parse(std::string_view text) {
  if (text.empty() || (text[0] != 'r' && text[0] != 'w' && text[0] != 'a')) return std::nullopt;
  StreamMode mode;
  mode.access = text[0];
  bool seen_plus = false, seen_kind = false;
  for (const char c : text.substr(1)) {
    if (c == '+' && !seen_plus) {
      seen_plus = mode.update = true;
    } else if ((c == 'b' || c == 't') && !seen_kind) {
      seen_kind = true;
      mode.binary = c == 'b';
    } else {
      return std::nullopt;
    }
  }
  return mode;
}

}  // namespace qv::platform
