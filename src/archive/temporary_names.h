// Names of the library's temporary files: the folder, "ZT" and a five-digit
// number, "ZT00001.$$$". One counter serves the library object's whole life:
// it is raised before every try, and the first name that does not exist is
// taken; it is never reset, and once it would reach 65,535 no more names are
// made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv::archive {

class TemporaryNames {
 public:
  static constexpr std::uint32_t kLastNumber = 65'534;

  // A free name in `folder` (as FolderOf gives it: "" for the current
  // folder, or ending in ':' or '\'), or nothing when the counter is spent.
  std::optional<std::string> Next(platform::Files& files, std::string_view folder);

 private:
  std::uint32_t counter_ = 0;
};

}  // namespace qv::archive
