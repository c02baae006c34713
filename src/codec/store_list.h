// Files that are archives or compressed already are stored without an
// attempt to compress them, recognised by the extension of the member name.
#pragma once

#include <string_view>

namespace qv::codec {

// True when the name's last dot starts an extension of exactly three more
// characters and that four-character text (dot included) is one of ".ARQ",
// ".ZIP", ".ZOO", ".ARC", ".ARJ", ".LBR", ".PAK", ".LZH", ".CAB", compared
// exactly (".Zip", ".GZ" and ".ZIPX" are not on the list).
bool IsOnStoreList(std::string_view name);

}  // namespace qv::codec
