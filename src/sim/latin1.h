// Byte strings in the machine's JSON files. DOS names and registry data are
// bytes of the instrument's code page; the files hold each byte as the
// Unicode character of the same number (Latin-1), so that ASCII stays
// readable and every byte string comes back unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::sim {

std::string BytesToJson(std::string_view bytes);
// nullopt for text that is not UTF-8 or holds a character above U+00FF.
std::optional<std::string> JsonToBytes(std::string_view utf8);

}  // namespace qv::sim
