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

#include "codec/byte_streams.h"
#include "codec/packed_format.h"

namespace qv::codec {

class MatchFinder {
 public:
  // The memory the design fixes: seven arrays, 87,792 bytes.
  static constexpr std::size_t kArrayBytes = 87'792;

  // Empties the tree, reads up to 4352 bytes of input (adding the count to
  // `bytes_read`, which must outlive the member) and finds the match at the
  // first position (always length 1).
  void MatchFinderStart(PackInput& input, std::uint32_t& bytes_read);
  // Moves to the next position, sliding the buffer and reading more input
  // when needed, and finds its match.
  void MatchFinderAdvance();

  // The longest match at the current position: its length (below 3 means
  // none usable; it may reach past the input's end) and its buffer index.
  int match_length() const { return match_length_; }
  int match_position() const { return match_position_; }
  // Limits the match length to the input bytes left; the next search starts
  // from what is left here.
  void ClipMatchLength() {
    if (match_length_ > remaining_) match_length_ = remaining_;
  }
  // The buffer index of the current position (4096 to 8191).
  int position() const { return position_; }
  std::uint8_t byte_before_position() const { return text_[position_ - 1]; }
  // Input bytes from the current position to the end of what has been read.
  int remaining() const { return remaining_; }

 private:
  using Node = std::uint16_t;
  static constexpr int kWindow = static_cast<int>(kWindowSize);
  static constexpr int kMaxLength = static_cast<int>(kMaxMatch);
  static constexpr int kTextSize = 2 * kWindow + kMaxLength;
  static constexpr int kRoots = 256;
  static constexpr Node kFirstRoot = kWindow;             // roots 4096 + byte
  static constexpr int kNodeCount = 2 * kWindow;          // internal nodes and leaves
  static constexpr int kBucketBase = 2 * kWindow;         // hash heads follow the nodes
  static constexpr int kBuckets = kWindow + 9 * 255 + 1;  // (node, byte) -> node + 8 * byte
  static constexpr Node kPercolate = 0x8000;

  static Node Bucket(Node node, std::uint8_t byte) {
    return static_cast<Node>(node + 8 * byte + kBucketBase);
  }
  int Unreduced(int stored) const { return stored >= position_ ? stored - kWindow : stored; }

  void InitTree();
  Node Child(Node parent, std::uint8_t byte);
  void MakeChild(Node parent, std::uint8_t byte, Node child);
  void TakePlaceInChain(Node old_node, Node new_node);
  void Unlink(Node node);
  void Split(Node old_node, int length, int candidate);
  void Insert();
  void Delete();
  void Slide();

  // The seven arrays, with the sizes the design gives them.
  std::array<std::uint8_t, kTextSize> text_;
  std::array<std::uint8_t, kWindow + kRoots> level_;        // prefix length per node and root
  std::array<std::uint8_t, kWindow + kRoots> child_count_;  // per node and root
  std::array<Node, kWindow + kRoots> node_position_;        // recent position, percolate flag
  std::array<Node, kNodeCount> parent_;
  std::array<Node, kNodeCount> previous_;         // chain predecessor, or the bucket for a head
  std::array<Node, kNodeCount + kBuckets> next_;  // chain successor; free list; newer leaf

  PackInput* input_ = nullptr;
  std::uint32_t* bytes_read_ = nullptr;
  int position_ = 0;
  int remaining_ = 0;
  int match_length_ = 0;
  int match_position_ = 0;
  Node free_node_ = 0;
};

}  // namespace qv::codec
