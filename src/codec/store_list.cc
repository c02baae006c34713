#include "codec/store_list.h"

namespace qv::codec {

bool IsOnStoreList(std::string_view name) {
  constexpr std::string_view kStoreList = ".ARQ.ZIP.ZOO.ARC.ARJ.LBR.PAK.LZH.CAB";
  constexpr std::size_t kExtensionLength = 4;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot != kExtensionLength) return false;
  return kStoreList.find(name.substr(dot)) != std::string_view::npos;
}

}  // namespace qv::codec
