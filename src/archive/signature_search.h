// The search for the archive signature (67 57 04 01): where an archive begins
// inside a larger file, within its first 200,000 bytes. The file is read in
// blocks of 6,144 bytes; a byte that breaks a partial match is compared again
// with the signature's first byte, so 67 67 57 04 01 is found at its second
// byte.
#pragma once

#include <cstdint>
#include <functional>

#include "archive/file_slots.h"

namespace qv::archive {

inline constexpr std::int64_t kEmbeddedSearchLimit = 200'000;

// Searches from the slot's position through at most `limit` bytes; the
// whole signature must lie within them. `after_block` runs after every block
// and returns false to cancel. Returns the file offset of the signature's
// first byte, or a negative status: kNotAnArchive when there is none,
// kCanceled. The slot's position is restored.
std::int64_t FindSignature(FileSlots& slots, int slot, std::int64_t limit,
                           const std::function<bool()>& after_block);

}  // namespace qv::archive
