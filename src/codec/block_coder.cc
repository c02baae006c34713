#include "codec/block_coder.h"

#include <algorithm>

namespace qv::codec {

void BlockCoder::Start(std::span<std::uint8_t> staging, PackOutput& output,
                       const std::uint32_t& bytes_read) {
  staging_ = staging;
  staging_[0] = 0;
  std::fill_n(literal_length_frequencies_.begin(), kLiteralLengthSymbols, 0);
  std::fill_n(distance_frequencies_.begin(), kDistanceClasses, 0);
  fill_ = 0;
  flag_mask_ = 0;
  writer_.Start(output, bytes_read);
}

void BlockCoder::Finish() {
  if (!writer_.incompressible()) EmitBlock();
  writer_.Finish();
}

bool BlockCoder::StartGroup() {
  // A block is cut only where a group begins, while a whole group fits.
  flag_mask_ = 0x80;
  if (fill_ >= staging_.size() - (kGroupBytes - 1)) {
    EmitBlock();
    if (writer_.incompressible()) return false;
    fill_ = 0;
  }
  flag_position_ = fill_;
  staging_[fill_++] = 0;
  return true;
}

void BlockCoder::EmitBlock() {
  const std::span<std::uint16_t> small_codes(small_codes_);
  const int root =
      builder_.Build(literal_length_frequencies_, literal_length_lengths_, literal_length_codes_);
  const unsigned codes = literal_length_frequencies_[root];
  writer_.Put(codes, kCodeCountBits);
  if (root >= kLiteralLengthSymbols) {
    std::fill_n(code_length_frequencies_.begin(), kCodeLengthSymbols, 0);
    WalkLongList([this](unsigned symbol, unsigned, int) { ++code_length_frequencies_[symbol]; });
    const int code_length_root =
        builder_.Build(code_length_frequencies_, small_lengths_, small_codes);
    if (code_length_root >= kCodeLengthSymbols) {
      WriteSmallList(kCodeLengthCountBits, kCodeLengthSymbols, /*zero_run_field=*/true);
    } else {
      writer_.Put(0, kCodeLengthCountBits);
      writer_.Put(static_cast<unsigned>(code_length_root), kCodeLengthCountBits);
    }
    writer_.Put(static_cast<unsigned>(ListCount(literal_length_lengths_)), kLiteralCountBits);
    WalkLongList([this](unsigned symbol, unsigned extra, int extra_bits) {
      writer_.Put(small_codes_[symbol], small_lengths_[symbol]);
      writer_.Put(extra, extra_bits);
    });
  } else {
    writer_.Put(0, kCodeLengthCountBits);
    writer_.Put(0, kCodeLengthCountBits);
    writer_.Put(0, kLiteralCountBits);
    writer_.Put(static_cast<unsigned>(root), kLiteralCountBits);
  }
  const int distance_root =
      builder_.Build(distance_frequencies_, std::span(small_lengths_).first(kDistanceClasses),
                     small_codes.first(kDistanceClasses));
  if (distance_root >= kDistanceClasses) {
    WriteSmallList(kDistanceCountBits, kDistanceClasses, /*zero_run_field=*/false);
  } else {
    writer_.Put(0, kDistanceCountBits);
    writer_.Put(static_cast<unsigned>(distance_root), kDistanceCountBits);
  }
  if (WriteStagedCodes(codes)) {
    std::fill_n(literal_length_frequencies_.begin(), kLiteralLengthSymbols, 0);
    std::fill_n(distance_frequencies_.begin(), kDistanceClasses, 0);
  }
  // The next bytes belong to a later reading of the input.
  writer_.DrainWholeBytes();
}

bool BlockCoder::WriteStagedCodes(unsigned codes) {
  // In a local: stores into the writer's buffer may alias the span.
  const std::uint8_t* staged = staging_.data();
  PackedBitWriter::Run run = writer_.BeginRun();
  unsigned flags = 0;
  for (unsigned i = 0; i < codes; ++i) {
    if (i % 8 == 0) flags = *staged++;
    const unsigned first_byte = *staged++;
    if (flags & (0x80u >> (i % 8))) {
      const unsigned symbol = first_byte + kMinMatch + kMatchSymbolBias;
      run.Append(literal_length_codes_[symbol], literal_length_lengths_[symbol]);
      const unsigned distance_value = static_cast<unsigned>(staged[0]) << 8 | staged[1];
      staged += 2;
      // The class's code, then its extra bits: the value less its top bit.
      const int distance_class = DistanceClass(distance_value);
      const int extra_bits = std::max(distance_class - 1, 0);
      run.Append(static_cast<std::uint32_t>(small_codes_[distance_class]) << extra_bits |
                     (distance_value & ((1u << extra_bits) - 1)),
                 small_lengths_[distance_class] + static_cast<unsigned>(extra_bits));
    } else {
      run.Append(literal_length_codes_[first_byte], literal_length_lengths_[first_byte]);
    }
    if (run.HasRoom()) [[likely]] {
      run.PassWholeBytes();
      continue;
    }
    run = writer_.Resume(run);
    if (writer_.incompressible()) return false;
  }
  writer_.EndRun(run);
  return true;
}

void BlockCoder::WriteSmallList(int count_bits, int symbols, bool zero_run_field) {
  const int count = ListCount(std::span(small_lengths_).first(static_cast<std::size_t>(symbols)));
  writer_.Put(static_cast<unsigned>(count), count_bits);
  for (int i = 0; i < count;) {
    const unsigned length = small_lengths_[i++];
    if (length <= kLongestPlainSmallLength) {
      writer_.Put(length, kSmallLengthBits);
    } else {
      writer_.Put((1u << (length - 3)) - 2, static_cast<int>(length) - 3);
    }
    if (zero_run_field && i == 3) {
      int zeros = 0;
      while (zeros < 3 && small_lengths_[3 + zeros] == 0)
        ++zeros;
      writer_.Put(static_cast<unsigned>(zeros), kZeroRunBits);
      i += zeros;
    }
  }
}

template <class Visit>
void BlockCoder::WalkLongList(Visit visit) const {
  const int count = ListCount(literal_length_lengths_);
  for (int i = 0; i < count;) {
    const unsigned length = literal_length_lengths_[i++];
    if (length != 0) {
      visit(length + kCodeLengthSymbolBias, 0, 0);
      continue;
    }
    unsigned zeros = 1;
    for (; i < count && literal_length_lengths_[i] == 0; ++i)
      ++zeros;
    if (zeros <= 2) {
      for (unsigned z = 0; z < zeros; ++z)
        visit(0, 0, 0);
    } else if (zeros < kShortRunBase + (1u << kShortRunBits)) {
      visit(1, zeros - kShortRunBase, kShortRunBits);
    } else if (zeros == kShortRunBase + (1u << kShortRunBits)) {
      // 19 zeros: one alone, then the longest short run.
      visit(0, 0, 0);
      visit(1, (1u << kShortRunBits) - 1, kShortRunBits);
    } else {
      visit(2, zeros - kLongRunBase, kLongRunBits);
    }
  }
}

}  // namespace qv::codec
