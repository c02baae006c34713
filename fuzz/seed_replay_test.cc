// Every input kept under fuzz/seeds/<target>/ (the seeds the fuzzers start
// from, and each input that once found a fault) run through its target's
// entry, as part of the ordinary suite: a fault found once stays mended.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_entries.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;

TEST(SeedReplay, EveryKeptInputRunsThroughItsTarget) {
  int inputs = 0;
  for (const Target& target : kTargets) {
    const fs::path folder = fs::path(QV_FUZZ_SEEDS) / target.name;
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      SCOPED_TRACE(entry.path().string());
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
      target.entry(bytes);
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace qv::fuzz
