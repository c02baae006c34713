#include "platform/code_page.h"

namespace qv::platform {
namespace {

unsigned char UpperWestern(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  // Accented small letters 0xE0-0xFE (not the division sign 0xF7).
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;  // s caron
    case 0x9C:
      return 0x8C;  // oe
    case 0x9E:
      return 0x8E;  // z caron
    case 0xFF:
      return 0x9F;  // y diaeresis
    default:
      return c;
  }
}

}  // namespace

std::optional<CodePage> CodePageFromNumber(int number) {
  switch (number) {
    case 1252:
    case 932:
    case 936:
    case 949:
    case 950:
      return static_cast<CodePage>(number);
    default:
      return std::nullopt;
  }
}

bool IsLeadByte(CodePage page, unsigned char byte) {
  switch (page) {
    case CodePage::kWestern:
      return false;
    case CodePage::kJapanese:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case CodePage::kSimplifiedChinese:
    case CodePage::kKorean:
    case CodePage::kTraditionalChinese:
      return byte >= 0x81 && byte <= 0xFE;
  }
  return false;
}

std::string FoldName(CodePage page, std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(page, c)) {
      ++i;  // the trail byte is not a letter of its own
      continue;
    }
    if (page == CodePage::kWestern) {
      folded[i] = static_cast<char>(UpperWestern(c));
    } else if (c >= 'a' && c <= 'z') {
      folded[i] = static_cast<char>(c - 0x20);
    }
  }
  return folded;
}

int CompareNames(CodePage page, std::string_view a, std::string_view b) {
  return FoldName(page, a).compare(FoldName(page, b));
}

}  // namespace qv::platform
