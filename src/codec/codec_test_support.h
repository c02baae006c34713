// Test helpers: whole members decoded or packed in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/encoder.h"
#include "codec/heap.h"
#include "codec/member_record.h"
#include "codec/status.h"

namespace qv::codec {

// Refuses every request larger than its ceiling.
class CeilingHeap : public Heap {
 public:
  explicit CeilingHeap(std::size_t ceiling) : ceiling_(ceiling) {}
  bool Grants(std::size_t bytes) const override { return bytes <= ceiling_; }

 private:
  std::size_t ceiling_;
};

struct Unpacked {
  std::vector<std::uint8_t> bytes;
  Status status = Status::kOk;  // of the first chunk that failed
  std::uint32_t crc = 0;        // complemented, over the packed bytes taken
};

// Decodes `size` bytes from `packed`, whose packed size is `packed_size`.
Unpacked UnpackAll(std::span<const std::uint8_t> packed, std::size_t size,
                   std::uint32_t packed_size);
inline Unpacked UnpackAll(std::span<const std::uint8_t> packed, std::size_t size) {
  return UnpackAll(packed, size, static_cast<std::uint32_t>(packed.size()));
}

struct Packed {
  std::vector<std::uint8_t> bytes;  // the member's data as the output holds it
  MemberRecord record;
  Status status = Status::kOk;
};

// Packs `data` as a member named `name` into an empty memory output, with
// `encoder` as it is set up.
Packed PackAll(Encoder& encoder, std::span<const std::uint8_t> data,
               std::string_view name = "DATA.BIN");
// The same with an encoder of its own, with the lazy parse or the optimal one.
Packed PackAll(std::span<const std::uint8_t> data, std::string_view name = "DATA.BIN",
               bool optimal_parse = false);

// Packs `data` and expects it back from the decoder (or unchanged when
// stored), with sizes and CRC that agree; returns the packed size.
std::uint32_t ExpectRoundTrip(const std::vector<std::uint8_t>& data, std::string_view what,
                              bool optimal_parse = false);

// `count` bytes from a fixed pseudo-random sequence.
std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed);

// `block` `times` over.
std::vector<std::uint8_t> Repeated(const std::vector<std::uint8_t>& block, int times);

// `count` bytes of text: words drawn at random from a small vocabulary, with
// spaces, line feeds and the odd number.
std::vector<std::uint8_t> Words(std::size_t count, unsigned seed);

// `count` bytes of text closer to a natural language's: words made of
// syllables, drawn from a vocabulary of thousands with Zipf's frequencies,
// some capitalised, with commas, full stops and line feeds.
std::vector<std::uint8_t> ZipfText(std::size_t count, unsigned seed);

}  // namespace qv::codec
