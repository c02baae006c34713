#include "codec/decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv::codec {
namespace {

// The entries of literal symbols are the ones below this.
constexpr unsigned kFirstMatchEntry = SymbolCoding::Leaf(256, 0);

void CopySixteen(std::uint8_t* to, const std::uint8_t* from) {
  std::array<std::uint8_t, 16> sixteen;
  std::memcpy(sixteen.data(), from, sixteen.size());
  std::memcpy(to, sixteen.data(), sixteen.size());
}

void CopyEight(std::uint8_t* to, const std::uint8_t* from) {
  std::uint64_t eight;
  std::memcpy(&eight, from, sizeof eight);
  std::memcpy(to, &eight, sizeof eight);
}

// Copies a match of `length` bytes from `distance` back (1 to 4096) as the
// format defines it, byte after byte, so that a match overlapping its own
// output repeats its first bytes. Whole words are stored where the source
// lies a word or more behind, and the first 16 bytes without a test, since
// most matches are that short; up to 15 bytes past the match's end may be
// written.
[[gnu::always_inline]] inline void CopyMatch(std::uint8_t* to, std::size_t distance,
                                             std::size_t length) {
  const std::uint8_t* from = to - distance;
  std::uint8_t* const end = to + length;
  if (distance >= 16) {
    CopySixteen(to, from);
    if (length > 16) [[unlikely]] {
      for (std::size_t done = 16; done < length; done += 16)
        CopySixteen(to + done, from + done);
    }
  } else if (distance >= 8) {
    // Every word read lies at least eight bytes behind the bytes being
    // written, so it holds what a byte-by-byte copy would read.
    do {
      CopyEight(to, from);
      to += 8;
      from += 8;
    } while (to < end);
  } else if (distance == 1) {
    const std::uint64_t eight = *from * 0x0101'0101'0101'0101ull;
    do {
      std::memcpy(to, &eight, 8);
      to += 8;
    } while (to < end);
  } else {
    for (; to < end; ++to, ++from)
      *to = *from;
  }
}

// Decodes a distance (1 to 4096): the class's code and its extra bits in one
// step. The cursor must show at least 27 bits.
template <class Cursor>
[[gnu::always_inline]] inline std::uint32_t DecodeDistance(const DistanceTable& table, Cursor& in) {
  // Fields are read where they lie: a whole entry in a register would take
  // more instructions to take apart.
  const DistanceEntry& entry = table.Lookup(in.bits);
  const std::uint64_t bits = in.bits;
  in.Skip(entry.bits);
  return entry.distance + (static_cast<std::uint32_t>(bits >> entry.drop) & entry.extra_mask);
}

}  // namespace

// The entry of the literal/length code at the cursor, from its direct-table
// entry, its bits consumed. A literal's entry lies below every node's, so
// only the others are tested for one.
[[gnu::always_inline]] inline unsigned Decoder::TakeLiteralLengthEntry(unsigned direct,
                                                                       LooseBitCursor& in) const {
  const unsigned entry =
      direct >= kFirstMatchEntry ? literal_length_.Resolve(direct, in.bits) : direct;
  in.Skip(entry);
  return entry;
}

[[gnu::always_inline]] inline unsigned Decoder::NextLiteralLengthEntry(LooseBitCursor& in) const {
  return TakeLiteralLengthEntry(literal_length_.DirectEntry(in.bits), in);
}

void Decoder::DecodeStart(PackedSource& source, std::uint32_t packed_size) {
  reader_.Start(source, packed_size);
  block_codes_left_ = 0;
  produced_ = 0;
  chunk_at_ = kWindowSize;
  ahead_ = 0;
  corrupt_ = false;
}

Status Decoder::DecodeChunk(MemberRecord& record, std::size_t count, Window window) {
  if (count == 0 || count > kWindowSize) return Status::kBadArgument;
  if (progress_ != nullptr && *progress_) {
    (*progress_)(record, event::kExtractProgress, static_cast<std::int32_t>(produced_));
  }
  if (corrupt_) {
    std::fill_n(window.begin(), count, 0);
  } else {
    corrupt_ = !Produce(count);
    std::memcpy(window.data(), text_.data() + chunk_at_, count);
    chunk_at_ += count;
    if (chunk_at_ + kWindowSize + kSlack > text_.size()) {
      // The last 4096 bytes become the history at the start, and the bytes
      // decoded ahead follow them.
      std::memmove(text_.data(), text_.data() + chunk_at_ - kWindowSize, kWindowSize + ahead_);
      chunk_at_ = kWindowSize;
    }
  }
  produced_ += count;
  return corrupt_ ? Status::kCrcError : Status::kOk;
}

// Decodes into the text buffer until the chunk's `count` bytes are there;
// false, with the chunk's bytes from the damage on zero, for a damaged
// stream.
bool Decoder::Produce(std::size_t count) {
  std::uint8_t* const out = text_.data() + chunk_at_;
  std::size_t at = ahead_;
  // The loop's state stays in locals, out of reach of the buffer's stores.
  BitCursor in = reader_.cursor();
  std::uint32_t codes_left = block_codes_left_;
  bool sound = true;
  while (at < count) {
    if (codes_left == 0) {
      reader_.cursor() = in;
      sound = StartBlock();
      in = reader_.cursor();
      codes_left = block_codes_left_;
      if (!sound) break;
    }
    in = reader_.TopUp(in);
    if (codes_left >= 3 && in.end - in.next >= kFastInputBytes) {
      // Past the first 4096 bytes every distance reaches a byte of the
      // member, and the fast loop need not check.
      sound = produced_ >= kWindowSize ? DecodeFastHere<false>(out, at, count, in, codes_left)
                                       : DecodeFastHere<true>(out, at, count, in, codes_left);
      if (!sound) break;
      continue;
    }
    // Near the member's last packed bytes or the block's last codes: one
    // symbol at a time.
    --codes_left;
    if (!in.Refill()) in = reader_.RefillSlowly(in);
    const unsigned symbol = literal_length_.Decode(in);
    if (symbol < 256) {
      out[at++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    const std::uint32_t distance = DecodeDistance(distances_, in);
    if (distance > produced_ + at) {  // before the member's first byte
      sound = false;
      break;
    }
    const std::size_t length = symbol - kMatchSymbolBias;
    CopyMatch(out + at, distance, length);
    at += length;
  }
  reader_.cursor() = in;
  block_codes_left_ = codes_left;
  // A damaged match may follow literals that already ran past the chunk.
  if (!sound) std::fill(out + std::min(at, count), out + count, 0);
  ahead_ = sound ? at - count : 0;
  return sound;
}

// Symbols are decoded here while the fetched bytes ahead suffice for the two
// refills of a step, so that neither needs to check for an end. The state is
// copied into locals: stores into the buffer may alias anything.
template <bool kNearStart>
[[gnu::always_inline]] inline bool Decoder::DecodeFast(std::uint8_t* out, std::size_t& at_io,
                                                       std::size_t count, BitCursor& in,
                                                       std::uint32_t& codes_left_io) const {
  const std::uint8_t* const safe_end = in.end - kFastInputBytes;
  const std::uint64_t produced = produced_;
  LooseBitCursor c(in);
  std::size_t at = at_io;
  std::uint32_t codes_left = codes_left_io;
  bool sound = true;
  // Three codes or more left: a literal is always followed by up to two
  // more symbols, which may run past the chunk's end into the slack. The
  // tests of a step are all on values in registers. Each step looks up the
  // next step's first entry as soon as its last bits are consumed, so that
  // the lookup does not wait for the refill: the visible bits hold at least
  // 16 of the stream's bits then (a refill loads 64 and a step takes at most
  // 48 of them), enough for any code. The caller leaves room ahead for a
  // refill here.
  c.Refill();
  unsigned entry = literal_length_.DirectEntry(c.bits);
  while (at < count && codes_left >= 3 && c.next <= safe_end) {
    c.Refill();
    --codes_left;
    entry = TakeLiteralLengthEntry(entry, c);
    if (entry < kFirstMatchEntry) {
      out[at++] = static_cast<std::uint8_t>(entry >> SymbolCoding::kSymbolShift);
      // Two more symbols need at most 32 of the 40 bits still visible.
      --codes_left;
      entry = NextLiteralLengthEntry(c);
      if (entry < kFirstMatchEntry) {
        out[at++] = static_cast<std::uint8_t>(entry >> SymbolCoding::kSymbolShift);
        --codes_left;
        entry = NextLiteralLengthEntry(c);
        if (entry < kFirstMatchEntry) {
          out[at++] = static_cast<std::uint8_t>(entry >> SymbolCoding::kSymbolShift);
          entry = literal_length_.DirectEntry(c.bits);
          continue;
        }
      }
      c.Refill();  // for the distance's class code and extra bits
    }
    const std::uint32_t distance = DecodeDistance(distances_, c);
    if (kNearStart && distance > produced + at) {  // before the member's first byte
      sound = false;
      break;
    }
    const std::size_t length = (entry >> SymbolCoding::kSymbolShift) - kMatchSymbolBias;
    entry = literal_length_.DirectEntry(c.bits);
    CopyMatch(out + at, distance, length);
    at += length;
  }
  c.StoreInto(in);
  at_io = at;
  codes_left_io = codes_left;
  return sound;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_DECODER_BMI2 1
// With BMI2 a shift by a count in a register is one instruction, and every
// symbol of the fast loop waits on a lookup and such a shift: the loop is
// built a second time for processors that have it.
template <bool kNearStart>
[[gnu::target("bmi2")]] bool Decoder::DecodeFastBmi2(std::uint8_t* out, std::size_t& at,
                                                     std::size_t count, BitCursor& in,
                                                     std::uint32_t& codes_left) const {
  return DecodeFast<kNearStart>(out, at, count, in, codes_left);
}
#endif

template <bool kNearStart>
inline bool Decoder::DecodeFastHere(std::uint8_t* out, std::size_t& at, std::size_t count,
                                    BitCursor& in, std::uint32_t& codes_left) const {
#ifdef QV_DECODER_BMI2
  static const bool bmi2 = __builtin_cpu_supports("bmi2");
  if (bmi2) return DecodeFastBmi2<kNearStart>(out, at, count, in, codes_left);
#endif
  return DecodeFast<kNearStart>(out, at, count, in, codes_left);
}

bool Decoder::StartBlock() {
  BitCursor& in = reader_.cursor();
  reader_.Refill();
  block_codes_left_ = in.Get(kCodeCountBits);
  return block_codes_left_ != 0 &&
         ReadSmallList(kCodeLengthCountBits, /*zero_run_field=*/true, code_lengths_) &&
         ReadLongList() && ReadSmallList(kDistanceCountBits, /*zero_run_field=*/false, distances_);
}

template <class Table>
bool Decoder::ReadSmallList(int count_bits, bool zero_run_field, Table& table) {
  constexpr unsigned kSymbols = Table::kSymbolCount;
  BitCursor& in = reader_.cursor();
  reader_.Refill();
  const unsigned count = in.Get(count_bits);
  if (count == 0) {
    const unsigned symbol = in.Get(count_bits);
    if (symbol >= kSymbols) return false;
    table.SetSingle(symbol);
    return true;
  }
  if (count > kSymbols) return false;
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
  return table.Build(std::span(lengths.data(), kSymbols));
}

bool Decoder::ReadLongList() {
  // A local cursor: the stores into the lengths may alias the reader's.
  BitCursor in = reader_.cursor();
  const bool built = ReadLongList(in);
  reader_.cursor() = in;
  return built;
}

[[gnu::always_inline]] inline bool Decoder::ReadLongList(BitCursor& in) {
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
  // A code-length symbol with its run field takes at most 25 bits: a
  // refill shows enough for two.
  for (unsigned i = 0, taken = 2; i < count; ++taken) {
    if (taken == 2) {
      if (!in.Refill()) in = reader_.RefillSlowly(in);
      taken = 0;
    }
    const unsigned symbol = code_lengths_.Decode(in);
    if (symbol == 0 || symbol > kCodeLengthSymbolBias) {
      // One length, zero or not: chosen without a branch, as the two
      // alternate at random.
      lengths[i++] = static_cast<std::uint8_t>(symbol == 0 ? 0 : symbol - kCodeLengthSymbolBias);
      continue;
    }
    const unsigned zeros =
        symbol == 1 ? in.Get(kShortRunBits) + kShortRunBase : in.Get(kLongRunBits) + kLongRunBase;
    if (i + zeros > kLiteralLengthSymbols) return false;
    i += zeros;  // the lengths are zero already
  }
  // The lengths after the count are zero: the table need not look at them.
  return literal_length_.Build(std::span(lengths).first(count));
}

}  // namespace qv::codec
