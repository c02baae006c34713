// Where the optimal encoder cuts its codes into blocks: a block is cut in
// two wherever the two blocks, each with codes fitted to its own counts,
// take fewer bits than the one; the cut point is the cheapest one a
// narrowing search over the block finds.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "codec/block_statistics.h"

namespace qv::codec {

// The most codes one block may hold (its 16-bit code count).
inline constexpr std::size_t kMaxBlockCodes = 65535;

// The index of each block's first code, the first being 0; empty for no
// codes. Blocks are judged with package-merge's code lengths or, when not
// `limited_lengths`, with the lazy parse's Huffman builder's.
std::vector<std::size_t> ChooseBlockCuts(std::span<const LzCode> codes,
                                         bool limited_lengths = true);

// The blocks the lazy parse would make of the same codes: one wherever its
// staging buffer fills.
std::vector<std::size_t> StagingCuts(std::span<const LzCode> codes);

}  // namespace qv::codec
