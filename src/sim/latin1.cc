#include "sim/latin1.h"

namespace qv::sim {

std::string BytesToJson(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text.push_back(c);
    } else {
      text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return text;
}

std::optional<std::string> JsonToBytes(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      bytes.push_back(static_cast<char>(lead));
      continue;
    }
    // Only the two-byte forms of U+0080..U+00FF are bytes.
    if ((lead != 0xC2 && lead != 0xC3) || i + 1 >= utf8.size()) return std::nullopt;
    const auto trail = static_cast<unsigned char>(utf8[++i]);
    if ((trail & 0xC0) != 0x80) return std::nullopt;
    bytes.push_back(static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F)));
  }
  return bytes;
}

}  // namespace qv::sim
