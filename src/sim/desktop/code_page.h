// The loader's texts are bytes of the system's Western code page (1252).
// The screen draws them as the Unicode characters they stand for.
#pragma once

namespace qv::sim {

char32_t Cp1252ToUnicode(unsigned char byte);

}  // namespace qv::sim
