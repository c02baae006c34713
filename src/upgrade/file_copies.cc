#include "upgrade/file_copies.h"

#include <string>

namespace qv::upgrade {
namespace {

// Left only by a power cut; the next save into the same folder reuses it.
constexpr std::string_view kSideFile = "qvsaving.tmp";

std::string SideFileFor(std::string_view destination) {
  const std::size_t separator = destination.find_last_of("\\:");
  const std::string_view folder = separator == std::string_view::npos
                                      ? std::string_view()
                                      : destination.substr(0, separator + 1);
  return std::string(folder) + std::string(kSideFile);
}

}  // namespace

bool CopyFileOver(platform::Files& files, std::string_view source, std::string_view destination) {
  if (Exists(files, destination)) files.SetWritable(destination, true);
  return files.Copy(source, destination, /*fail_if_exists=*/false).ok();
}

bool SaveCopy(platform::Files& files, std::string_view source, std::string_view destination,
              bool keep_existing) {
  const bool exists = Exists(files, destination);
  if (exists && keep_existing) return true;
  const std::string side = SideFileFor(destination);
  if (!CopyFileOver(files, source, side)) return false;
  if (exists) files.SetWritable(destination, true);
  return files.Move(side, destination, /*replace_existing=*/true).ok();
}

}  // namespace qv::upgrade
