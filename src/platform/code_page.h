// The system code page as far as names are concerned: which bytes open a
// two-byte character and how letters fold, so that names compare without
// regard to case the way the instrument's file system and C run time do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

enum class CodePage : int {
  kWestern = 1252,
  kJapanese = 932,
  kSimplifiedChinese = 936,
  kKorean = 949,
  kTraditionalChinese = 950,
};

// The code page with that number, if this layer knows it.
std::optional<CodePage> CodePageFromNumber(int number);

// True for a byte that begins a two-byte character (never in code page 1252).
bool IsLeadByte(CodePage page, unsigned char byte);

// The name with every letter in upper case: ASCII letters always, and in code
// page 1252 also its accented letters; the second byte of a two-byte
// character is left alone.
std::string FoldName(CodePage page, std::string_view name);

// Compares folded names byte by byte: <0, 0 or >0. This is the order in which
// the file system lists a folder.
int CompareNames(CodePage page, std::string_view a, std::string_view b);

inline bool SameName(CodePage page, std::string_view a, std::string_view b) {
  return CompareNames(page, a, b) == 0;
}

}  // namespace qv::platform
