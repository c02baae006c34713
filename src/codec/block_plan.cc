#include "codec/block_plan.h"

#include <algorithm>

#include "codec/huffman_code.h"
#include "codec/limited_code_lengths.h"

namespace qv::codec {
namespace {

struct BitCounter {
  void Put(std::uint32_t, int count) { bits += static_cast<std::uint64_t>(count); }
  std::uint64_t bits = 0;
};

// The index of the first symbol in use, the one a single-symbol code sends.
template <std::size_t N>
int FirstUsed(const std::array<std::uint32_t, N>& frequencies) {
  const auto found =
      std::find_if(frequencies.begin(), frequencies.end(), [](std::uint32_t f) { return f != 0; });
  return found == frequencies.end() ? 0 : static_cast<int>(found - frequencies.begin());
}

// A small length list; `zero_run_field` for the code-length code's.
template <class Sink>
void PutSmallList(Sink& sink, std::span<const std::uint8_t> lengths, int count_bits,
                  bool zero_run_field) {
  const int count = ListCount(lengths);
  sink.Put(static_cast<unsigned>(count), count_bits);
  for (int i = 0; i < count;) {
    const unsigned length = lengths[static_cast<std::size_t>(i++)];
    if (length <= kLongestPlainSmallLength) {
      sink.Put(length, kSmallLengthBits);
    } else {
      sink.Put((1u << (length - 3)) - 2, static_cast<int>(length) - 3);
    }
    if (zero_run_field && i == 3) {
      int zeros = 0;
      while (zeros < 3 && 3 + zeros < count && lengths[static_cast<std::size_t>(3 + zeros)] == 0)
        ++zeros;
      sink.Put(static_cast<unsigned>(zeros), kZeroRunBits);
      i += zeros;
    }
  }
}

}  // namespace

BlockPlan::BlockPlan(const BlockStatistics& statistics, bool limited_lengths)
    : codes_(statistics.codes), limited_lengths_(limited_lengths) {
  literal_length_used_ = Lengths(statistics.literal_length, literal_length_lengths_);
  distance_used_ = Lengths(statistics.distance, distance_lengths_);
  single_literal_length_ = FirstUsed(statistics.literal_length);
  single_distance_ = FirstUsed(statistics.distance);
  CanonicalCodes(literal_length_lengths_, literal_length_codes_);
  CanonicalCodes(distance_lengths_, distance_codes_);
  if (literal_length_used_ >= 2) PlanLengthList();

  BitCounter header;
  WriteHeader(header);
  header_bits_ = header.bits;
  for (int s = 0; s < kLiteralLengthSymbols; ++s)
    code_bits_ += std::uint64_t{statistics.literal_length[s]} * literal_length_lengths_[s];
  for (int c = 0; c < kDistanceClasses; ++c) {
    code_bits_ += std::uint64_t{statistics.distance[c]} *
                  static_cast<unsigned>(distance_lengths_[c] + DistanceExtraBits(c));
  }
}

int BlockPlan::Lengths(std::span<const std::uint32_t> frequencies,
                       std::span<std::uint8_t> lengths) const {
  if (limited_lengths_) return LimitedCodeLengths(frequencies, kMaxCodeLength, lengths);
  // The builder counts in 16 bits and keeps its tree behind the symbols.
  std::array<std::uint16_t, kMaxTreeNodes> counts{};
  std::array<std::uint16_t, kLiteralLengthSymbols> codes{};
  const std::size_t n = frequencies.size();
  for (std::size_t s = 0; s < n; ++s)
    counts[s] = static_cast<std::uint16_t>(std::min<std::uint32_t>(frequencies[s], 0xFFFF));
  HuffmanCodeBuilder().Build(std::span(counts).first(2 * n - 1), lengths,
                             std::span(codes).first(n));
  return static_cast<int>(std::count_if(frequencies.begin(), frequencies.end(),
                                        [](std::uint32_t f) { return f != 0; }));
}

void BlockPlan::PlanLengthList() {
  list_count_ = ListCount(literal_length_lengths_);
  list_size_ = 0;
  const auto add = [this](unsigned symbol, unsigned extra, unsigned extra_bits) {
    list_[static_cast<std::size_t>(list_size_++)] = {static_cast<std::uint8_t>(symbol),
                                                     static_cast<std::uint8_t>(extra_bits),
                                                     static_cast<std::uint16_t>(extra)};
  };
  for (int i = 0; i < list_count_;) {
    const unsigned length = literal_length_lengths_[static_cast<std::size_t>(i++)];
    if (length != 0) {
      add(length + kCodeLengthSymbolBias, 0, 0);
      continue;
    }
    unsigned zeros = 1;
    for (; i < list_count_ && literal_length_lengths_[static_cast<std::size_t>(i)] == 0; ++i)
      ++zeros;
    // Runs of 19 have no field of their own: one zero goes alone.
    if (zeros == kShortRunBase + (1u << kShortRunBits)) {
      add(0, 0, 0);
      --zeros;
    }
    if (zeros < kShortRunBase) {
      for (unsigned z = 0; z < zeros; ++z)
        add(0, 0, 0);
    } else if (zeros < kLongRunBase) {
      add(1, zeros - kShortRunBase, kShortRunBits);
    } else {
      add(2, zeros - kLongRunBase, kLongRunBits);
    }
  }
  std::array<std::uint32_t, kCodeLengthSymbols> frequencies{};
  for (int i = 0; i < list_size_; ++i)
    ++frequencies[list_[static_cast<std::size_t>(i)].symbol];
  code_length_used_ = Lengths(frequencies, code_length_lengths_);
  single_code_length_ = FirstUsed(frequencies);
  CanonicalCodes(code_length_lengths_, code_length_codes_);
}

template <class Sink>
void BlockPlan::WriteHeader(Sink& sink) const {
  sink.Put(codes_, kCodeCountBits);
  if (literal_length_used_ >= 2) {
    if (code_length_used_ >= 2) {
      PutSmallList(sink, code_length_lengths_, kCodeLengthCountBits, /*zero_run_field=*/true);
    } else {
      sink.Put(0, kCodeLengthCountBits);
      sink.Put(static_cast<unsigned>(single_code_length_), kCodeLengthCountBits);
    }
    sink.Put(static_cast<unsigned>(list_count_), kLiteralCountBits);
    for (int i = 0; i < list_size_; ++i) {
      const ListCode& code = list_[static_cast<std::size_t>(i)];
      sink.Put(code_length_codes_[code.symbol], code_length_lengths_[code.symbol]);
      sink.Put(code.extra, code.extra_bits);
    }
  } else {
    sink.Put(0, kCodeLengthCountBits);
    sink.Put(0, kCodeLengthCountBits);
    sink.Put(0, kLiteralCountBits);
    sink.Put(static_cast<unsigned>(single_literal_length_), kLiteralCountBits);
  }
  if (distance_used_ >= 2) {
    PutSmallList(sink, distance_lengths_, kDistanceCountBits, /*zero_run_field=*/false);
  } else {
    sink.Put(0, kDistanceCountBits);
    sink.Put(static_cast<unsigned>(single_distance_), kDistanceCountBits);
  }
}

void BlockPlan::Write(std::span<const LzCode> codes, PackedBitWriter& writer) const {
  WriteHeader(writer);
  for (const LzCode code : codes) {
    writer.Put(literal_length_codes_[code.symbol], literal_length_lengths_[code.symbol]);
    if (!code.is_match()) continue;
    const int distance_class = DistanceClass(code.distance_value);
    const int extra_bits = DistanceExtraBits(distance_class);
    writer.Put(static_cast<std::uint32_t>(distance_codes_[distance_class]) << extra_bits |
                   (code.distance_value & ((1u << extra_bits) - 1)),
               distance_lengths_[distance_class] + extra_bits);
  }
}

}  // namespace qv::codec
