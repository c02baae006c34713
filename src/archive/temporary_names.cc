#include "archive/temporary_names.h"

#include <cstdio>

namespace qv::archive {

std::optional<std::string> TemporaryNames::Next(platform::Files& files, std::string_view folder) {
  while (counter_ < kLastNumber) {
    ++counter_;
    char number[16];
    std::snprintf(number, sizeof number, "ZT%05u.$$$", counter_);
    std::string name = std::string(folder) + number;
    if (!files.Access(name, platform::AccessCheck::kExists)) return name;
  }
  return std::nullopt;
}

}  // namespace qv::archive
