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

// Copies a match inside the chunk (at + length <= 4096). The common cases,
// a source at least eight bytes back and a run of one byte, go by words or
// memset; the rest keeps the byte-by-byte order of CopyForward.
[[gnu::always_inline]] inline void CopyMatch(std::uint8_t* window, std::size_t from, std::size_t at,
                                             std::size_t length) {
  if (from < at) {
    const std::size_t gap = at - from;
    std::uint8_t* const to = window + at;
    const std::uint8_t* const source = window + from;
    if (gap >= 8) {
      if (length <= 16 && gap >= length) {  // a match has 3 bytes or more
        if (length >= 8) {
          CopyEnds<std::uint64_t>(source, to, length);
        } else if (length >= 4) {
          CopyEnds<std::uint32_t>(source, to, length);
        } else {
          CopyEnds<std::uint16_t>(source, to, length);
        }
        return;
      }
      // Every word read lies at least eight bytes behind the bytes being
      // written, so it holds what a byte-by-byte copy would read; the last
      // word may rewrite bytes with the values they already have.
      std::size_t i = 0;
      for (; i + 8 < length; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, source + i, 8);
        std::memcpy(to + i, &eight, 8);
      }
      std::uint64_t last;
      std::memcpy(&last, source + length - 8, 8);
      std::memcpy(to + length - 8, &last, 8);
      return;
    }
    if (gap == 1) {
      std::memset(to, *source, length);
      return;
    }
  }
  CopyForward(window, from, at, length);
}

// The distance value of a class: the class's base plus its extra bits.
constexpr std::array<std::uint16_t, kDistanceClasses> kDistanceBase = {
    0, 1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048};
constexpr std::array<std::uint8_t, kDistanceClasses> kDistanceExtraBits = {0, 0, 1, 2, 3,  4, 5,
                                                                           6, 7, 8, 9, 10, 11};

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
    if (count - at > kMaxMatch + 1 && in.end - in.next >= 16) {
      if (!DecodeFast(window, at, count, in, codes_left)) {
        sound = false;
        break;
      }
      if (codes_left == 0) continue;
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

// Symbols are decoded here while a match of any length fits in the chunk
// and sixteen fetched bytes lie ahead, so that neither the copy nor the two
// refills of a step need to check for an end. The state is copied into
// locals: stores into the window may alias anything.
[[gnu::always_inline]] inline bool Decoder::DecodeFast(std::uint8_t* window, std::size_t& at_io,
                                                       std::size_t count, BitCursor& in,
                                                       std::uint32_t& codes_left_io) const {
  // Room for a literal and then a match of the longest length.
  const std::size_t room_end = count - kMaxMatch - 1;
  const std::uint8_t* const safe_end = in.end - 16;
  const std::uint64_t produced = produced_;
  BitCursor c = in;
  std::size_t at = at_io;
  std::uint32_t codes_left = codes_left_io;
  bool sound = true;
  while (codes_left != 0 && at <= room_end && c.next <= safe_end) {
    c.RefillFromWord();
    --codes_left;
    unsigned symbol = literal_length_.Decode(c);
    if (symbol < 256) {
      window[at++] = static_cast<std::uint8_t>(symbol);
      // A second symbol needs at most 16 of the 40 bits still visible.
      if (codes_left == 0) break;
      --codes_left;
      symbol = literal_length_.Decode(c);
      if (symbol < 256) {
        window[at++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      c.RefillFromWord();  // for the distance's class code and extra bits
    }
    const unsigned distance_class = small_.Decode(c);
    const int extra = kDistanceExtraBits[distance_class];
    // Shifted in two steps so that no extra bits shift by 64.
    const std::uint32_t distance_value =
        kDistanceBase[distance_class] + static_cast<std::uint32_t>((c.bits >> 1) >> (63 - extra));
    c.Skip(extra);
    if (distance_value >= produced + at) {  // before the member's first byte
      sound = false;
      break;
    }
    const std::size_t length = symbol - kMatchSymbolBias;
    CopyMatch(window, (at - distance_value - 1) & kWindowMask, at, length);
    at += length;
  }
  in = c;
  at_io = at;
  codes_left_io = codes_left;
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
  // A local cursor: the stores into the lengths may alias the reader's.
  BitCursor in = reader_.cursor();
  const bool built = ReadLongList(in);
  reader_.cursor() = in;
  return built;
}

bool Decoder::ReadLongList(BitCursor& in) {
  if (!in.Refill()) in = reader_.RefillSlowly(in);
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
    if (!in.Refill()) in = reader_.RefillSlowly(in);
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
