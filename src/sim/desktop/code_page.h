// The loader's texts are bytes of the system's Western code page (1252).
// The screen draws them as the Unicode characters they stand for; JSON text
// holds each byte as the character of the same number (Latin-1), so that
// every byte comes back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace qv::sim {

char32_t Cp1252ToUnicode(unsigned char byte);
std::string BytesToLatin1Utf8(std::string_view bytes);

}  // namespace qv::sim
