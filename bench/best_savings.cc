// Where the optimal parse's bytes are saved: every file named (or every
// file below the folders named) packed with the lazy parse, then with the
// optimal parse with its savings switched on in turn: the parse alone (the
// lazy parse's blocks and Huffman builder), then blocks cut by cost, then
// package-merge's code lengths. Prints the packed bytes of each and the
// ratio to the lazy parse, and the largest working memory of one member.
// A stored member counts its file's size.
//
// Usage: best_savings FILE_OR_FOLDER...
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codec/encoder.h"
#include "codec/memory_streams.h"
#include "codec/optimal_compressor.h"
#include "pack_in_memory.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::uint64_t LazySize(const Bytes& data) {
  return qv::bench::PackInMemory(data).size();
}

// Also raises `peak` to the member's working memory.
std::uint64_t OptimalSize(const Bytes& data, qv::codec::OptimalSavings savings, std::size_t& peak) {
  qv::codec::MemoryPackInput input(data);
  qv::codec::MemoryPackOutput output;
  qv::codec::OptimalCompressor compressor;
  compressor.set_savings(savings);
  qv::MemberRecord record;
  compressor.Compress(record, input, output);
  peak = std::max(peak, compressor.memory_bytes());
  return compressor.incompressible() ? data.size() : record.packed_size;
}

std::vector<fs::path> FilesOf(int count, char** names) {
  std::vector<fs::path> files;
  for (int i = 0; i < count; ++i) {
    if (fs::is_directory(names[i])) {
      for (const auto& entry : fs::recursive_directory_iterator(names[i])) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md") {
          files.push_back(entry.path());
        }
      }
    } else {
      files.emplace_back(names[i]);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> files = FilesOf(argc - 1, argv + 1);
  if (files.empty()) {
    std::fprintf(stderr, "usage: best_savings FILE_OR_FOLDER...\n");
    return 2;
  }
  const qv::codec::OptimalSavings steps[] = {{false, false}, {true, false}, {true, true}};
  std::uint64_t bytes = 0;
  std::uint64_t lazy = 0;
  std::uint64_t sizes[std::size(steps)] = {};
  std::size_t peak = 0;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const Bytes data{std::istreambuf_iterator<char>(in), {}};
    bytes += data.size();
    lazy += LazySize(data);
    for (std::size_t step = 0; step < std::size(steps); ++step)
      sizes[step] += OptimalSize(data, steps[step], peak);
  }
  const char* const names[] = {"+ optimal parse", "+ blocks cut by cost",
                               "+ package-merge lengths"};
  std::printf("%zu files, %llu bytes\n", files.size(), static_cast<unsigned long long>(bytes));
  std::printf("%-26s %12llu  1.0000\n", "lazy parse", static_cast<unsigned long long>(lazy));
  for (std::size_t step = 0; step < std::size(steps); ++step) {
    std::printf("%-26s %12llu  %.4f\n", names[step], static_cast<unsigned long long>(sizes[step]),
                static_cast<double>(sizes[step]) / static_cast<double>(lazy));
  }
  std::printf("largest working memory of one member: %zu bytes\n", peak);
  return 0;
}
