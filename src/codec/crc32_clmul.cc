#include "codec/crc32_clmul.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QV_CRC32_CLMUL 1
#endif

namespace qv::codec {

#ifdef QV_CRC32_CLMUL

// Folding constants for the reflected polynomial: (x^n mod P), bit-reflected
// and shifted left by one, for n = 8*128 + 32, 8*128 - 32 (four lanes of
// 256 bits), 4*128 + 32, 4*128 - 32 (four lanes), 128 + 32, 128 - 32 (one
// lane) and 64; then P itself and floor(x^64 / P) for the final Barrett
// reduction.
namespace {
constexpr std::int64_t kFold8Low = 0x1e88ef372;
constexpr std::int64_t kFold8High = 0x14a7fe880;
constexpr std::int64_t kFold4Low = 0x154442bd4;
constexpr std::int64_t kFold4High = 0x1c6e41596;
constexpr std::int64_t kFold1Low = 0x1751997d0;
constexpr std::int64_t kFold1High = 0x0ccaa009e;
constexpr std::int64_t kFold64 = 0x163cd6124;
constexpr std::int64_t kPolynomial33 = 0x1db710641;  // with its x^32 term
constexpr std::int64_t kBarrett = 0x1f7011641;

__attribute__((target("pclmul,sse4.1"))) __m128i Fold(__m128i lane, __m128i constants,
                                                      __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
  const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__m128i Load(const std::uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

#define QV_CRC32_WIDE_TARGET __attribute__((target("pclmul,sse4.1,avx2,vpclmulqdq")))

// Whether the processor multiplies 256-bit lanes at once; asked once.
bool WideAvailable() {
  static const bool available =
      __builtin_cpu_supports("avx2") && __builtin_cpu_supports("vpclmulqdq");
  return available;
}

QV_CRC32_WIDE_TARGET __m256i FoldWide(__m256i lane, __m256i constants, __m256i next) {
  const __m256i low = _mm256_clmulepi64_epi128(lane, constants, 0x00);
  const __m256i high = _mm256_clmulepi64_epi128(lane, constants, 0x11);
  return _mm256_xor_si256(_mm256_xor_si256(low, high), next);
}

QV_CRC32_WIDE_TARGET __m256i LoadWide(const std::uint8_t* bytes) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}

// Folds whole 128-byte blocks (at least two) in four 256-bit lanes, twice
// the bytes of a step of four 128-bit lanes, and leaves the four 128-bit
// lanes that the narrow loop goes on with.
QV_CRC32_WIDE_TARGET void FoldWideBlocks(std::uint32_t reg, const std::uint8_t*& bytes,
                                         std::size_t& size, __m128i (&lanes)[4]) {
  __m256i wide[4];
  wide[0] = _mm256_xor_si256(LoadWide(bytes),
                             _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(reg))));
  for (int i = 1; i < 4; ++i)
    wide[i] = LoadWide(bytes + 32 * i);
  bytes += 128;
  size -= 128;
  const __m256i fold8 = _mm256_set_epi64x(kFold8High, kFold8Low, kFold8High, kFold8Low);
  for (; size >= 128; bytes += 128, size -= 128) {
    for (int i = 0; i < 4; ++i)
      wide[i] = FoldWide(wide[i], fold8, LoadWide(bytes + 32 * i));
  }
  // The eight 16-byte lanes in stream order; lane i and lane i + 4 lie 64
  // bytes apart.
  __m128i narrow[8];
  for (int i = 0; i < 4; ++i) {
    narrow[2 * i] = _mm256_castsi256_si128(wide[i]);
    narrow[2 * i + 1] = _mm256_extracti128_si256(wide[i], 1);
  }
  const __m128i fold4 = _mm_set_epi64x(kFold4High, kFold4Low);
  for (int i = 0; i < 4; ++i)
    lanes[i] = Fold(narrow[i], fold4, narrow[i + 4]);
}
}  // namespace

bool ClmulAvailable() {
  return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

__attribute__((target("pclmul,sse4.1"))) std::size_t Crc32FoldClmul(std::uint32_t& reg,
                                                                    const std::uint8_t* bytes,
                                                                    std::size_t size) {
  const std::size_t whole = size & ~std::size_t{15};
  __m128i lanes[4];
  if (size >= 256 && WideAvailable()) {
    FoldWideBlocks(reg, bytes, size, lanes);
  } else {
    lanes[0] = _mm_xor_si128(Load(bytes), _mm_cvtsi32_si128(static_cast<int>(reg)));
    for (int i = 1; i < 4; ++i)
      lanes[i] = Load(bytes + 16 * i);
    bytes += 64;
    size -= 64;
  }
  __m128i lane0 = lanes[0];
  __m128i lane1 = lanes[1];
  __m128i lane2 = lanes[2];
  __m128i lane3 = lanes[3];

  const __m128i fold4 = _mm_set_epi64x(kFold4High, kFold4Low);
  for (; size >= 64; bytes += 64, size -= 64) {
    lane0 = Fold(lane0, fold4, Load(bytes));
    lane1 = Fold(lane1, fold4, Load(bytes + 16));
    lane2 = Fold(lane2, fold4, Load(bytes + 32));
    lane3 = Fold(lane3, fold4, Load(bytes + 48));
  }

  const __m128i fold1 = _mm_set_epi64x(kFold1High, kFold1Low);
  __m128i acc = Fold(lane0, fold1, lane1);
  acc = Fold(acc, fold1, lane2);
  acc = Fold(acc, fold1, lane3);
  for (; size >= 16; bytes += 16, size -= 16)
    acc = Fold(acc, fold1, Load(bytes));

  // 128 bits to 64, then to 32 by Barrett reduction.
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
  acc = _mm_xor_si128(_mm_clmulepi64_si128(acc, fold1, 0x10), _mm_srli_si128(acc, 8));
  const __m128i top = _mm_srli_si128(acc, 4);
  acc = _mm_and_si128(acc, low32);
  acc = _mm_xor_si128(_mm_clmulepi64_si128(acc, _mm_cvtsi64_si128(kFold64), 0x00), top);
  const __m128i barrett = _mm_set_epi64x(kBarrett, kPolynomial33);
  __m128i quotient = _mm_and_si128(acc, low32);
  quotient = _mm_and_si128(_mm_clmulepi64_si128(quotient, barrett, 0x10), low32);
  acc = _mm_xor_si128(acc, _mm_clmulepi64_si128(quotient, barrett, 0x00));
  reg = static_cast<std::uint32_t>(_mm_extract_epi32(acc, 1));
  return whole;
}

#else

bool ClmulAvailable() {
  return false;
}

std::size_t Crc32FoldClmul(std::uint32_t&, const std::uint8_t*, std::size_t) {
  return 0;
}

#endif

}  // namespace qv::codec
