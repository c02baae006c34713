#include "codec/decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv::codec {
namespace {

// Copies `length` bytes (from sizeof(Word) to twice that) as the first and
// the last Word, both loaded before either is stored.
template <class Word>
void CopyEnds(const std::uint8_t* source, std::uint8_t* to, std::size_t length) {
  Word head;
  Word tail;
  std::memcpy(&head, source, sizeof head);
  std::memcpy(&tail, source + length - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
}

// Copies `length` window bytes from position `from` to position `at`, one
// byte after the other as the format defines it: a match that overlaps its
// own output repeats its first bytes, and the source wraps at the window's
// end.
[[gnu::always_inline]] inline void CopyForward(std::uint8_t* window, std::size_t from,
                                               std::size_t at, std::size_t length) {
  std::uint8_t* to = window + at;
  const std::uint8_t* source = window + from;
  // Most matches are short and do not overlap their source: load the first
  // and the last bytes (the two parts may share bytes), then store both.
  if (length <= 16 && from + length <= kWindowSize &&
      (from + length <= at || at + length <= from)) {
    if (length >= 8) {
      CopyEnds<std::uint64_t>(source, to, length);
    } else if (length >= 4) {
      CopyEnds<std::uint32_t>(source, to, length);
    } else if (length >= 2) {
      CopyEnds<std::uint16_t>(source, to, length);
    } else if (length == 1) {
      *to = *source;
    }
    return;
  }
  // Eight at a time while every byte read was written before (or lies
  // ahead, in the previous chunk's part of the window).
  if (from + length <= kWindowSize && (from > at || at - from >= 8)) {
    for (; length >= 8; length -= 8, to += 8, source += 8) {
      std::uint64_t eight;
      std::memcpy(&eight, source, 8);
      std::memcpy(to, &eight, 8);
    }
    for (; length > 0; --length)
      *to++ = *source++;
  } else if (from < at) {
    for (std::size_t i = 0; i < length; ++i)
      to[i] = source[i];
  } else {
    for (std::size_t i = 0; i < length; ++i)
      to[i] = window[(from + i) & kWindowMask];
  }
}

}  // namespace

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
  // The loop's state stays in locals, out of reach of the window's stores.
  BitCursor in = reader_.cursor();
  std::uint32_t codes_left = block_codes_left_;
  const std::uint64_t produced = produced_;
  bool sound = true;
  while (at < count) {
    if (codes_left == 0) {
      reader_.cursor() = in;
      sound = StartBlock();
      in = reader_.cursor();
      codes_left = block_codes_left_;
      if (!sound) break;
    }
    --codes_left;
    if (!in.Refill()) in = reader_.RefillSlowly(in);
    const unsigned symbol = literal_length_.Decode(in);
    if (symbol < 256) {
      window[at++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    const int distance_class = static_cast<int>(small_.Decode(in));
    const std::uint32_t distance_value =
        distance_class <= 1 ? static_cast<std::uint32_t>(distance_class)
                            : (1u << (distance_class - 1)) + in.Get(distance_class - 1);
    if (distance_value >= produced + at) {  // before the member's first byte
      sound = false;
      break;
    }
    const std::size_t length = symbol - kMatchSymbolBias;
    const std::size_t from = (at - distance_value - 1) & kWindowMask;
    const std::size_t now = std::min(length, count - at);
    CopyForward(window, from, at, now);
    at += now;
    if (now < length) {  // the rest goes to the next chunk
      pending_length_ = static_cast<std::uint32_t>(length - now);
      pending_from_ = static_cast<std::uint32_t>(from + now) & kWindowMask;
    }
  }
  reader_.cursor() = in;
  block_codes_left_ = codes_left;
  if (!sound) std::fill(window + at, window + count, 0);
  return sound;
}

// Copies as much of the pending match as the chunk takes.
std::size_t Decoder::CopyPending(std::uint8_t* window, std::size_t at, std::size_t count) {
  const std::size_t length = std::min<std::size_t>(pending_length_, count - at);
  const std::size_t from = pending_from_;
  CopyForward(window, from, at, length);
  pending_length_ -= static_cast<std::uint32_t>(length);
  pending_from_ = static_cast<std::uint32_t>(from + length) & kWindowMask;
  return at + length;
}

bool Decoder::StartBlock() {
  BitCursor& in = reader_.cursor();
  reader_.Refill();
  block_codes_left_ = in.Get(kCodeCountBits);
  return block_codes_left_ != 0 &&
         ReadSmallList(kCodeLengthCountBits, kCodeLengthSymbols, /*zero_run_field=*/true) &&
         ReadLongList() &&
         ReadSmallList(kDistanceCountBits, kDistanceClasses, /*zero_run_field=*/false);
}

bool Decoder::ReadSmallList(int count_bits, int symbols, bool zero_run_field) {
  BitCursor& in = reader_.cursor();
  reader_.Refill();
  const unsigned count = in.Get(count_bits);
  if (count == 0) {
    const unsigned symbol = in.Get(count_bits);
    if (symbol >= static_cast<unsigned>(symbols)) return false;
    small_.SetSingle(symbol);
    return true;
  }
  if (count > static_cast<unsigned>(symbols)) return false;
  std::array<std::uint8_t, kCodeLengthSymbols> lengths{};
  for (unsigned i = 0; i < count;) {
    reader_.Refill();
    unsigned length = in.Get(3);
    if (length == 7) {
      while (in.Get(1) == 1) {
        if (++length > kMaxCodeLength) return false;
      }
    }
    lengths[i++] = static_cast<std::uint8_t>(length);
    if (zero_run_field && i == 3) i += in.Get(kZeroRunBits);
  }
  return small_.Build(std::span(lengths.data(), static_cast<std::size_t>(symbols)));
}

bool Decoder::ReadLongList() {
  BitCursor& in = reader_.cursor();
  reader_.Refill();
  const unsigned count = in.Get(kLiteralCountBits);
  if (count == 0) {
    const unsigned symbol = in.Get(kLiteralCountBits);
    if (symbol >= kLiteralLengthSymbols) return false;
    literal_length_.SetSingle(symbol);
    return true;
  }
  if (count > kLiteralLengthSymbols) return false;
  std::array<std::uint8_t, kLiteralLengthSymbols> lengths{};
  for (unsigned i = 0; i < count;) {
    reader_.Refill();
    const unsigned symbol = small_.Decode(in);
    if (symbol >= kCodeLengthSymbolBias + 1) {
      lengths[i++] = static_cast<std::uint8_t>(symbol - kCodeLengthSymbolBias);
      continue;
    }
    const unsigned zeros = symbol == 0   ? 1
                           : symbol == 1 ? in.Get(kShortRunBits) + kShortRunBase
                                         : in.Get(kLongRunBits) + kLongRunBase;
    if (i + zeros > kLiteralLengthSymbols) return false;
    i += zeros;  // the lengths are zero already
  }
  return literal_length_.Build(lengths);
}

}  // namespace qv::codec
