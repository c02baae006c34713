#include "fuzz/host_snapshot.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace qv::fuzz {

namespace fs = std::filesystem;

void WriteHostFile(const fs::path& file, std::span<const std::uint8_t> bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

HostFiles Snapshot(const fs::path& root, const fs::path& skip) {
  HostFiles files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (!skip.empty() && it->path() == skip) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    std::ifstream in(it->path(), std::ios::binary);
    files[it->path()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

void ShowDifference(const HostFiles& expected, const HostFiles& actual) {
  for (const auto& [path, bytes] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end()) {
      std::fprintf(stderr, "missing: %s (%zu bytes)\n", path.c_str(), bytes.size());
    } else if (found->second != bytes) {
      std::fprintf(stderr, "different: %s (%zu bytes, expected %zu)\n", path.c_str(),
                   found->second.size(), bytes.size());
    }
  }
  for (const auto& [path, bytes] : actual) {
    if (!expected.contains(path)) {
      std::fprintf(stderr, "extra: %s (%zu bytes)\n", path.c_str(), bytes.size());
    }
  }
}

bool HoldsTemporaryFile(const fs::path& root) {
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.path().filename().string().starts_with("ZT")) return true;
  }
  return false;
}

}  // namespace qv::fuzz
