#include "codec/match_finder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/codec_test_support.h"
#include "codec/memory_streams.h"

namespace qv::codec {
namespace {

struct Found {
  int length;
  int distance;  // 1 to 4096
};

// Runs the finder over the data and records, for each position, the match
// clipped to the bytes left, as the encoder sees it.
std::vector<Found> FindAll(const std::vector<std::uint8_t>& data) {
  MemoryPackInput input(data);
  auto finder = std::make_unique<MatchFinder>();
  std::uint32_t bytes_read = 0;
  finder->MatchFinderStart(input, bytes_read);
  std::vector<Found> found;
  for (std::size_t at = 0; at < data.size(); ++at) {
    if (at > 0) finder->MatchFinderAdvance();
    finder->ClipMatchLength();
    const int distance = (finder->position() - finder->match_position()) & 4095;
    found.push_back({finder->match_length(), distance == 0 ? 4096 : distance});
  }
  return found;
}

// Every match of 3 or more must really repeat earlier bytes.
void ExpectGenuineMatches(const std::vector<std::uint8_t>& data) {
  const std::vector<Found> found = FindAll(data);
  for (std::size_t at = 0; at < found.size(); ++at) {
    const auto [length, distance] = found[at];
    if (length < 3) continue;
    ASSERT_GE(at, static_cast<std::size_t>(distance)) << at;
    ASSERT_LE(at + static_cast<std::size_t>(length), data.size()) << at;
    for (int i = 0; i < length; ++i) {
      ASSERT_EQ(data[at + i], data[at - distance + i]) << "at " << at << " byte " << i;
    }
  }
}

TEST(MatchFinder, ScratchCorpus) {
  const char* list = std::getenv("MF_FILES");
  if (list == nullptr) GTEST_SKIP();
  std::ifstream names(list);
  std::string name;
  while (std::getline(names, name)) {
    std::ifstream file(name, std::ios::binary);
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(file), {}};
    SCOPED_TRACE(name);
    ExpectGenuineMatches(data);
  }
}

}  // namespace
}  // namespace qv::codec
