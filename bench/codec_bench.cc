// Speed of the codec beside zlib, in one run on the same data: CRC-32 against
// zlib's crc32(), packing against deflate at level 6, unpacking against
// inflate. Data: a text, a program and a genome from the shared corpus, or
// generated text when the corpus is absent.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/crc32.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/memory_streams.h"
#include "pack_in_memory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kSamples[] = {"canterbury/alice29.txt", "silesia/ooffice", "large/E.coli"};

Bytes GeneratedText(std::size_t size) {
  const char* const words[] = {"signal ", "probe ", "trigger ", "the ", "of ", "sample ",
                               "volts ",  "at ",    "channel ", "and ", "\n"};
  std::mt19937 random(1);
  Bytes text;
  while (text.size() < size) {
    const std::string word = words[random() % std::size(words)];
    text.insert(text.end(), word.begin(), word.end());
  }
  text.resize(size);
  return text;
}

const Bytes& Sample(int index) {
  static std::map<int, Bytes> samples;
  auto [it, fresh] = samples.try_emplace(index);
  if (fresh) {
    const char* corpus = std::getenv("QV_CORPUS");
    std::ifstream file(
        std::string(corpus != nullptr ? corpus : QV_CORPUS_DIR) + "/" + kSamples[index],
        std::ios::binary);
    it->second.assign(std::istreambuf_iterator<char>(file), {});
    if (it->second.empty()) it->second = GeneratedText(1 << 20);
  }
  return it->second;
}

Bytes Pack(const Bytes& data) {
  return qv::bench::PackInMemory(data);
}

Bytes Deflate(const Bytes& data) {
  uLongf size = compressBound(data.size());
  Bytes packed(size);
  compress2(packed.data(), &size, data.data(), data.size(), 6);
  packed.resize(size);
  return packed;
}

// Runs `prepare(data)` once on the sample named by the benchmark's argument,
// then the step it returns once per iteration.
template <class Prepare>
void OnSample(benchmark::State& state, Prepare prepare) {
  const int index = static_cast<int>(state.range(0));
  const Bytes& data = Sample(index);
  auto step = prepare(data);
  for (auto _ : state)
    step();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.SetLabel(kSamples[index]);
}

template <class Crc>
void OnText(benchmark::State& state, Crc crc) {
  const Bytes data = GeneratedText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(crc(data));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void BM_Crc32(benchmark::State& state) {
  OnText(state, [](const Bytes& data) { return qv::codec::Crc32(data); });
}

void BM_ZlibCrc32(benchmark::State& state) {
  OnText(state,
         [](const Bytes& data) { return crc32(0, data.data(), static_cast<uInt>(data.size())); });
}

void BM_Pack(benchmark::State& state) {
  OnSample(state,
           [](const Bytes& data) { return [&data] { benchmark::DoNotOptimize(Pack(data)); }; });
}

void BM_ZlibDeflate6(benchmark::State& state) {
  OnSample(state,
           [](const Bytes& data) { return [&data] { benchmark::DoNotOptimize(Deflate(data)); }; });
}

void BM_Unpack(benchmark::State& state) {
  OnSample(state, [](const Bytes& data) {
    return [&data, packed = Pack(data), out = Bytes(data.size())]() mutable {
      std::array<std::uint8_t, qv::codec::kWindowSize> window{};
      qv::codec::MemoryPackedSource source(packed);
      qv::codec::Decoder decoder;
      decoder.DecodeStart(source, static_cast<std::uint32_t>(packed.size()));
      qv::MemberRecord record;
      for (std::size_t done = 0; done < data.size(); done += qv::codec::kWindowSize) {
        const std::size_t count = std::min(qv::codec::kWindowSize, data.size() - done);
        decoder.DecodeChunk(record, count, window);
        std::copy_n(window.begin(), count, out.begin() + static_cast<std::ptrdiff_t>(done));
      }
      benchmark::DoNotOptimize(decoder.PackedCrc());
    };
  });
}

void BM_ZlibInflate(benchmark::State& state) {
  OnSample(state, [](const Bytes& data) {
    return [packed = Deflate(data), out = Bytes(data.size())]() mutable {
      uLongf size = out.size();
      uncompress(out.data(), &size, packed.data(), packed.size());
      benchmark::DoNotOptimize(out.data());
    };
  });
}

BENCHMARK(BM_Crc32)->Arg(4096)->Arg(1 << 16)->Arg(1 << 20);
BENCHMARK(BM_ZlibCrc32)->Arg(4096)->Arg(1 << 16)->Arg(1 << 20);
BENCHMARK(BM_Pack)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate6)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unpack)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
