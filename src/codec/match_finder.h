// The encoder's match finder: for each position of the file it finds the
// longest earlier string within the 4096-byte window that matches the bytes
// ahead (up to 256), preferring a recent one among equally long candidates.
//
// The strings of the last 4096 positions live in a compressed trie: internal
// nodes stand for prefixes shared by several positions, leaves for single
// positions, and the children of a node are found through one hash table
// keyed by (node, next byte). Each step deletes the position 4096 back and
// inserts the current one; the insertion walks one path, so its cost does not
// grow with the number of earlier occurrences. The finder also owns the
// sliding text buffer and reads the input into it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/byte_streams.h"
#include "codec/match_answers.h"
#include "codec/packed_format.h"

namespace qv::codec {

class MatchFinder {
 public:
  // The memory of the tree and the text buffer, 149,256 bytes. About 61 KB
  // of it, the children's XOR and a chain head for every 15-bit hash, only
  // buys time: fewer and shorter chain walks (a quarter of a head per node
  // makes most lookups of an absent child end at once); so do the 8 bytes
  // behind the text, which let a compared word reach past the look-ahead.
  static constexpr std::size_t kArrayBytes = 149'256;

  // Empties the tree, reads up to 4352 bytes of input (adding the count to
  // `bytes_read`, which must outlive the member) and finds the match at the
  // first position (always length 1).
  void MatchFinderStart(PackInput& input, std::uint32_t& bytes_read);
  // Moves to the next position, sliding the buffer and reading more input
  // when needed, and finds its match.
  void MatchFinderAdvance();
  // Advances `count` times, clipping each match as ClipMatchLength does: the
  // positions inside a match the encoder has taken. One call for the whole
  // match keeps the step's work in one place.
  void AdvanceClipped(int count);
  // Advances once per answer, clipping as AdvanceClipped does, and stores
  // each position's answer: the loop of the threads that find matches ahead.
  void AdvanceAnswering(std::span<MatchAnswer> answers);
  // The answer at the current position.
  MatchAnswer answer() const { return MakeMatchAnswer(match_length_, distance_code()); }

  // The longest match at the current position: its length (below 3 means
  // none usable; it may reach past the input's end) and its buffer index.
  int match_length() const { return match_length_; }
  int match_position() const { return match_position_; }
  // Limits the match length to the input bytes left; the next search starts
  // from what is left here.
  void ClipMatchLength() {
    if (match_length_ > remaining_) match_length_ = remaining_;
  }
  // The match's distance less one, as the packed stream codes it.
  unsigned distance_code() const {
    return static_cast<unsigned>(position_ - match_position_ - 1) & kWindowMask;
  }
  // The buffer index of the current position (4096 to 8191).
  int position() const { return position_; }
  std::uint8_t byte_before_position() const { return text_[position_ - 1]; }
  // Input bytes from the current position to the end of what has been read.
  int remaining() const { return remaining_; }
  // Those bytes.
  std::span<const std::uint8_t> read_ahead() const {
    return std::span(text_).subspan(static_cast<std::size_t>(position_),
                                    static_cast<std::size_t>(remaining_));
  }

  // Reads on from `input`, which continues the file where the last input
  // left it.
  void ContinueWith(PackInput& input, std::uint32_t& bytes_read) {
    input_ = &input;
    bytes_read_ = &bytes_read;
  }

  // Whether this finder and `other`, at the same position of the same input
  // with the buffer in the same phase, will give the same answers from here
  // on: their trees are the same up to the numbering of internal nodes, with
  // the same levels, recent positions and flags, and the same last answer.
  // Chain order and the free list only decide numbers, never answers. Both
  // must have passed at least 4096 positions.
  bool SameAnswersAhead(const MatchFinder& other) const;

 private:
  using Node = std::uint16_t;
  static constexpr int kWindow = static_cast<int>(kWindowSize);
  static constexpr int kMaxLength = static_cast<int>(kMaxMatch);
  static constexpr int kTextSize = 2 * kWindow + kMaxLength;
  static constexpr int kRoots = 256;
  static constexpr Node kFirstRoot = kWindow;     // roots 4096 + byte
  static constexpr int kNodeCount = 2 * kWindow;  // internal nodes and leaves
  static constexpr int kBucketBits = 15;
  static constexpr int kBucketBase = kNodeCount;  // chain heads follow the nodes in next_
  // A head is reached through a 16-bit link (a node's chain predecessor).
  static_assert(kBucketBase + (1 << kBucketBits) <= 1 << 16);
  static constexpr Node kPercolate = 0x8000;

  // What an internal node or a root knows: the length of its prefix, its
  // number of children and a recent position below it, with the percolation
  // flag. Roots keep level 1 and position 0.
  struct Inner {
    std::uint8_t level;
    std::uint8_t child_count;
    Node position;
  };

  // The chain of (node, byte). Every byte of one node has its own chain, so
  // a node in the chain whose parent is that node is the child sought.
  static Node Bucket(Node parent, std::uint8_t byte) {
    const unsigned spread = (parent * 0x9E3779B1u) >> (32 - kBucketBits);
    return static_cast<Node>(((spread + byte) & ((1u << kBucketBits) - 1)) + kBucketBase);
  }
  int Unreduced(int stored) const { return stored >= position_ ? stored - kWindow : stored; }
  // The position a node's record keeps, without its percolation flag.
  int RecordedPosition(Node stored) const { return Unreduced(stored & ~kPercolate); }
  // A string below `node`: a leaf's own, or an internal node's recent one.
  // The record is read whatever the node, so that the choice needs no jump.
  int StringBelow(Node node) const {
    const Node recorded = inner_[node & (kWindow - 1)].position;
    return Unreduced(node >= kWindow ? node : recorded & ~kPercolate);
  }

  void InitTree();
  Node Child(Node parent, std::uint8_t byte);
  void MakeChild(Node parent, std::uint8_t byte, Node child);
  // The new node becomes a child of the old one's parent, under the same
  // byte, in the old one's place.
  void Replace(Node old_node, Node new_node);
  void Unlink(Node node);
  // The child of `parent` that the current string follows after its first
  // `length` bytes; or 0 when there is none, the new leaf then taking that
  // place with a match of `length` bytes.
  Node FollowOrAttach(Node parent, int length);
  // The current position's string equals all 256 bytes of the old leaf's
  // (at `old_position`): the new leaf takes its place, and the old one
  // points on to it.
  void ReplaceIdentical(Node old_leaf, int old_position);
  // The current string parts from the old node's edge after `length`
  // bytes: a new node there gets both as children, and the match is
  // `length` bytes at `candidate`, a string below the old node.
  void Split(Node old_node, int length, int candidate);
  void Insert();
  void Delete();
  void Slide();

  // The text, and room for a compared word to reach past the look-ahead.
  std::array<std::uint8_t, kTextSize + 8> text_;
  std::array<Inner, kWindow + kRoots> inner_;  // per internal node and root
  // Per internal node and root: the XOR of its children's numbers, which
  // names the last one when a single child is left.
  std::array<Node, kWindow + kRoots> children_;
  std::array<Node, kNodeCount> parent_;    // per internal node and leaf; 0 = none
  std::array<Node, kNodeCount> previous_;  // chain predecessor, or the bucket for a head
  // Per node: the chain successor (0 ends it), the next free node for free
  // internal nodes, or the newer leaf for a leaf that an identical string
  // replaced. Then the chain heads.
  std::array<Node, kNodeCount + (1 << kBucketBits)> next_;

  PackInput* input_ = nullptr;
  std::uint32_t* bytes_read_ = nullptr;
  int position_ = 0;
  int remaining_ = 0;
  int match_length_ = 0;
  int match_position_ = 0;
  Node free_node_ = 0;
};

}  // namespace qv::codec
