// The current folder as the loader remembers it to come back to: the C run
// time's _getcwd into 128 characters, so a longer one is not remembered.
#pragma once

#include <optional>
#include <string>

#include "platform/files.h"

namespace qv::upgrade {

inline constexpr std::size_t kRememberedFolderLength = 128;

inline std::optional<std::string> RememberCurrentFolder(platform::Files& files) {
  platform::Result<std::string> folder = files.CurrentFolder(0);
  if (!folder || folder->size() >= kRememberedFolderLength) return std::nullopt;
  return std::move(*folder);
}

}  // namespace qv::upgrade
