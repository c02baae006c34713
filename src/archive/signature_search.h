// The search for the archive signature (67 57 04 01): where an archive begins
// inside a larger file. The file is read in whole blocks of 6,144 bytes until
// more than 200,000 bytes were read, so an embedded archive is found when its
// signature lies within the first 33 blocks (202,752 bytes); archives that
// other writers embed rely on that reach. A byte that breaks a partial match
// is compared again with the signature's first byte, so 67 67 57 04 01 is
// found at its second byte.
#pragma once

#include <cstdint>
#include <functional>

#include "archive/file_slots.h"

namespace qv::archive {

inline constexpr std::int64_t kEmbeddedSearchLimit = 200'000;

// Searches from the slot's position, block by block, until more than `limit`
// bytes were read (or the file ends); the whole signature must lie within
// the blocks read. `after_block` runs after every block
// and returns false to cancel. Returns the file offset of the signature's
// first byte, or a negative status: kNotAnArchive when there is none,
// kCanceled. The slot's position is restored.
std::int64_t FindSignature(FileSlots& slots, int slot, std::int64_t limit,
                           const std::function<bool()>& after_block);

}  // namespace qv::archive
