// The loader's texts are bytes of the system's Western code page (1252).
// The screen draws them as Unicode and the transcript stores them as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qv::sim {

char32_t Cp1252ToUnicode(unsigned char byte);
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace qv::sim
