#include "tools/arq/terminal_text.h"

#include <iostream>

namespace qv::arq {
namespace {

bool IsC1(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F;
}

// Length of the well-formed UTF-8 sequence that starts at `at` (lead byte
// C2 to F4 with its continuation bytes), or 0.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

void AppendEscaped(std::string& out, unsigned char byte) {
  static constexpr std::string_view kLetters = "abtnvfr";
  if (byte >= '\a' && byte <= '\r') {
    out += '\\';
    out += kLetters[byte - '\a'];
    return;
  }
  out += '\\';
  out += static_cast<char>('0' + (byte >> 6));
  out += static_cast<char>('0' + ((byte >> 3) & 7));
  out += static_cast<char>('0' + (byte & 7));
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte == 0x7F) {
      AppendEscaped(out, byte);
      ++at;
      continue;
    }
    if (byte < 0x80) {
      out += text[at++];
      continue;
    }
    const std::size_t length = Utf8Length(text, at);
    // U+0080 to U+009F, encoded: the two bytes are escaped like a lone C1.
    const bool encoded_c1 = length == 2 && byte == 0xC2 && IsC1(text[at + 1]);
    if (length > 0 && !encoded_c1) {
      out.append(text.substr(at, length));
      at += length;
    } else if (encoded_c1) {
      AppendEscaped(out, byte);
      AppendEscaped(out, static_cast<unsigned char>(text[at + 1]));
      at += 2;
    } else {
      if (IsC1(byte)) {
        AppendEscaped(out, byte);
      } else {
        out += text[at];  // a code-page letter: harmless on any terminal
      }
      ++at;
    }
  }
  return out;
}

int Complain(std::string_view message, int exit_code) {
  std::cerr << "arq: " << TerminalText(message) << "\n";
  return exit_code;
}

}  // namespace qv::arq
