#include "codec/decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv::codec {

void Decoder::DecodeStart(PackedSource& source, std::uint32_t packed_size) {
  reader_.Start(source, packed_size);
  block_codes_left_ = 0;
  pending_length_ = 0;
  pending_from_ = 0;
  produced_ = 0;
  corrupt_ = false;
}

Status Decoder::DecodeChunk(MemberRecord& record, std::size_t count, Window window) {
  if (count == 0 || count > kWindowSize) return Status::kBadArgument;
  if (progress_ != nullptr && *progress_) {
    (*progress_)(record, event::kExtractProgress, static_cast<std::int32_t>(produced_));
  }
  if (!corrupt_) corrupt_ = !Produce(window.data(), count);
  produced_ += count;
  return corrupt_ ? Status::kCrcError : Status::kOk;
}

bool Decoder::Produce(std::uint8_t* window, std::size_t count) {
  std::size_t at = CopyPending(window, 0, count);
  while (at < count) {
    if (block_codes_left_ == 0 && !StartBlock()) {
      std::fill(window + at, window + count, 0);
      return false;
    }
    --block_codes_left_;
    reader_.Refill();
    const unsigned symbol = literal_length_.Decode(reader_);
    if (symbol < 256) {
      window[at++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    const int distance_class = static_cast<int>(small_.Decode(reader_));
    const std::uint32_t distance_value =
        distance_class <= 1 ? static_cast<std::uint32_t>(distance_class)
                            : (1u << (distance_class - 1)) + reader_.Get(distance_class - 1);
    if (distance_value >= produced_ + at) {  // before the member's first byte
      std::fill(window + at, window + count, 0);
      return false;
    }
    pending_length_ = symbol - kMatchSymbolBias;
    pending_from_ = static_cast<std::uint32_t>(at - distance_value - 1) & kWindowMask;
    at = CopyPending(window, at, count);
  }
  return true;
}

// Copies as much of the pending match as the chunk takes. The copy runs
// forward, so a match that overlaps its own output repeats its first bytes.
std::size_t Decoder::CopyPending(std::uint8_t* window, std::size_t at, std::size_t count) {
  const std::size_t length = std::min<std::size_t>(pending_length_, count - at);
  const std::size_t from = pending_from_;
  std::uint8_t* const to = window + at;
  if (from < at) {
    if (from + length <= at) {
      std::memcpy(to, window + from, length);
    } else if (at - from == 1) {
      std::memset(to, window[from], length);
    } else {
      for (std::size_t i = 0; i < length; ++i)
        to[i] = window[from + i];
    }
  } else if (from + length <= kWindowSize) {
    // The source lies ahead of the destination (end of the previous chunk),
    // so a forward copy and memmove agree.
    std::memmove(to, window + from, length);
  } else {
    for (std::size_t i = 0; i < length; ++i)
      to[i] = window[(from + i) & kWindowMask];
  }
  pending_length_ -= static_cast<std::uint32_t>(length);
  pending_from_ = static_cast<std::uint32_t>(from + length) & kWindowMask;
  return at + length;
}

bool Decoder::StartBlock() {
  reader_.Refill();
  block_codes_left_ = reader_.Get(kCodeCountBits);
  return block_codes_left_ != 0 &&
         ReadSmallList(kCodeLengthCountBits, kCodeLengthSymbols, /*zero_run_field=*/true) &&
         ReadLongList() &&
         ReadSmallList(kDistanceCountBits, kDistanceClasses, /*zero_run_field=*/false);
}

bool Decoder::ReadSmallList(int count_bits, int symbols, bool zero_run_field) {
  reader_.Refill();
  const unsigned count = reader_.Get(count_bits);
  if (count == 0) {
    const unsigned symbol = reader_.Get(count_bits);
    if (symbol >= static_cast<unsigned>(symbols)) return false;
    small_.SetSingle(symbol);
    return true;
  }
  if (count > static_cast<unsigned>(symbols)) return false;
  std::array<std::uint8_t, kCodeLengthSymbols> lengths{};
  for (unsigned i = 0; i < count;) {
    reader_.Refill();
    unsigned length = reader_.Get(3);
    if (length == 7) {
      while (reader_.Get(1) == 1) {
        if (++length > kMaxCodeLength) return false;
      }
    }
    lengths[i++] = static_cast<std::uint8_t>(length);
    if (zero_run_field && i == 3) i += reader_.Get(kZeroRunBits);
  }
  return small_.Build(std::span(lengths.data(), static_cast<std::size_t>(symbols)));
}

bool Decoder::ReadLongList() {
  reader_.Refill();
  const unsigned count = reader_.Get(kLiteralCountBits);
  if (count == 0) {
    const unsigned symbol = reader_.Get(kLiteralCountBits);
    if (symbol >= kLiteralLengthSymbols) return false;
    literal_length_.SetSingle(symbol);
    return true;
  }
  if (count > kLiteralLengthSymbols) return false;
  std::array<std::uint8_t, kLiteralLengthSymbols> lengths{};
  for (unsigned i = 0; i < count;) {
    reader_.Refill();
    const unsigned symbol = small_.Decode(reader_);
    if (symbol >= kCodeLengthSymbolBias + 1) {
      lengths[i++] = static_cast<std::uint8_t>(symbol - kCodeLengthSymbolBias);
      continue;
    }
    const unsigned zeros = symbol == 0   ? 1
                           : symbol == 1 ? reader_.Get(kShortRunBits) + kShortRunBase
                                         : reader_.Get(kLongRunBits) + kLongRunBase;
    if (i + zeros > kLiteralLengthSymbols) return false;
    i += zeros;  // the lengths are zero already
  }
  return literal_length_.Build(lengths);
}

}  // namespace qv::codec
