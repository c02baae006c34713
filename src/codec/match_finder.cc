#include "codec/match_finder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace qv::codec {
namespace {
// A choice made without a jump, for choices that go either way about as
// often: computing both sides costs less than the jumps mispredicted. The
// compiler makes a jump of a plain `?:` here, so on x86-64 the conditional
// move is written out; elsewhere a mask selects.
template <class T>
T Pick(bool condition, T if_true, T if_false) {
  static_assert(sizeof(T) <= sizeof(std::uint32_t));
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  auto result = static_cast<std::uint32_t>(if_false);
  asm("test %[condition], %[condition]\n\tcmovnz %[if_true], %[result]"
      : [result] "+r"(result)
      : [condition] "r"(condition), [if_true] "rm"(static_cast<std::uint32_t>(if_true))
      : "cc");
  return static_cast<T>(result);
#else
  const auto mask = static_cast<T>(-static_cast<int>(condition));
  return static_cast<T>(if_false ^ ((if_true ^ if_false) & mask));
#endif
}

// How far the strings at `ahead` and `earlier` agree, given that they agree
// on their first `length` bytes: exact below `limit`, else some length at
// least `limit`. Eight bytes at a time, the last word reaching past the
// limit (the text has room behind it): no byte-by-byte tail, whose length
// varies from call to call. The first differing byte is the lowest set byte
// of their difference.
int CommonLength(const std::uint8_t* ahead, const std::uint8_t* earlier, int length, int limit) {
  for (;;) {
    std::uint64_t mine;
    std::uint64_t theirs;
    std::memcpy(&mine, ahead + length, 8);
    std::memcpy(&theirs, earlier + length, 8);
    if (const std::uint64_t differ = mine ^ theirs; differ != 0) {
      return length + (std::endian::native == std::endian::little ? std::countr_zero(differ)
                                                                  : std::countl_zero(differ)) /
                          8;
    }
    length += 8;
    if (length >= limit) return length;
  }
}
}  // namespace

void MatchFinder::MatchFinderStart(PackInput& input, std::uint32_t& bytes_read) {
  static_assert(sizeof(text_) + sizeof(inner_) + sizeof(children_) + sizeof(parent_) +
                    sizeof(previous_) + sizeof(next_) ==
                kArrayBytes);
  input_ = &input;
  bytes_read_ = &bytes_read;
  std::fill(text_.begin() + kTextSize, text_.end(), 0);
  InitTree();
  const std::size_t count = input.Read(std::span(text_.data() + kWindow, kWindow + kMaxLength));
  *bytes_read_ += static_cast<std::uint32_t>(count);
  remaining_ = static_cast<int>(count);
  match_length_ = 0;
  position_ = kWindow;
  Insert();
}

// One step is small and made of small parts: all of them are inlined into it.
[[gnu::flatten]] void MatchFinder::MatchFinderAdvance() {
  --remaining_;
  if (++position_ == 2 * kWindow) Slide();
  Delete();
  Insert();
}

[[gnu::flatten]] void MatchFinder::AdvanceClipped(int count) {
  for (int i = 0; i < count; ++i) {
    MatchFinderAdvance();
    ClipMatchLength();
  }
}

[[gnu::flatten]] void MatchFinder::AdvanceAnswering(std::span<MatchAnswer> answers) {
  for (MatchAnswer& slot : answers) {
    MatchFinderAdvance();
    ClipMatchLength();
    slot = answer();
  }
}

void MatchFinder::InitTree() {
  std::fill_n(inner_.begin() + kFirstRoot, kRoots, Inner{1, 0, 0});
  std::fill(parent_.begin() + kWindow, parent_.end(), 0);  // no leaf is in the tree
  for (Node node = 1; node < kWindow - 1; ++node)
    next_[node] = static_cast<Node>(node + 1);
  next_[kWindow - 1] = 0;
  free_node_ = 1;
  std::fill(next_.begin() + kBucketBase, next_.end(), 0);
}

// The bytes past what has been read keep whatever the buffer held (zero
// before the first slide); they only lengthen matches the encoder clips.
void MatchFinder::Slide() {
  std::memmove(text_.data(), text_.data() + kWindow, kWindow + kMaxLength);
  const std::size_t count = input_->Read(std::span(text_.data() + kWindow + kMaxLength, kWindow));
  *bytes_read_ += static_cast<std::uint32_t>(count);
  remaining_ += static_cast<int>(count);
  position_ = kWindow;
}

bool MatchFinder::SameAnswersAhead(const MatchFinder& other) const {
  if (position_ != other.position_ || remaining_ != other.remaining_ ||
      match_length_ != other.match_length_ ||
      (match_length_ >= 4 && match_position_ != other.match_position_)) {
    return false;
  }
  // Internal nodes are matched pairwise on the way up from every leaf; a
  // pair met again must be the same pair.
  std::array<Node, kWindow> theirs{};
  std::array<Node, kWindow> mine{};
  for (int leaf = kWindow; leaf < kNodeCount; ++leaf) {
    Node a = parent_[leaf];
    Node b = other.parent_[leaf];
    if ((a == 0) != (b == 0)) return false;
    // A leaf that a newer identical string replaced leads on to that one.
    if (a == 0 && next_[leaf] != other.next_[leaf]) return false;
    while (a != 0 && a < kFirstRoot && theirs[a] == 0) {
      if (b == 0 || b >= kFirstRoot || mine[b] != 0) return false;
      const Inner& x = inner_[a];
      const Inner& y = other.inner_[b];
      if (x.level != y.level || x.child_count != y.child_count) return false;
      // A node of level 2 hangs from a root for good; its recent position
      // is read as a match position only for matches of two bytes, and its
      // flag only decides what the root's position becomes, which stays 0.
      // Any deeper node may get a deeper parent by a split, so its flag
      // counts as much as its position.
      if (x.level > 2 && x.position != y.position) return false;
      theirs[a] = b;
      mine[b] = a;
      a = parent_[a];
      b = other.parent_[b];
    }
    if (a >= kFirstRoot ? a != b : a != 0 && theirs[a] != b) return false;
  }
  return true;
}

MatchFinder::Node MatchFinder::Child(Node parent, std::uint8_t byte) {
  Node node = next_[Bucket(parent, byte)];
  parent_[0] = parent;  // stops the walk at the end of the chain
  while (parent_[node] != parent)
    node = next_[node];
  return node;
}

void MatchFinder::MakeChild(Node parent, std::uint8_t byte, Node child) {
  const Node bucket = Bucket(parent, byte);
  const Node head = next_[bucket];
  next_[bucket] = child;
  next_[child] = head;
  previous_[head] = child;
  previous_[child] = bucket;
  parent_[child] = parent;
  ++inner_[parent].child_count;
  children_[parent] ^= child;
}

void MatchFinder::Replace(Node old_node, Node new_node) {
  const Node before = previous_[old_node];
  previous_[new_node] = before;
  next_[before] = new_node;
  const Node after = next_[old_node];
  next_[new_node] = after;
  previous_[after] = new_node;
  const Node parent = parent_[old_node];
  parent_[new_node] = parent;
  children_[parent] ^= static_cast<Node>(old_node ^ new_node);
}

void MatchFinder::Unlink(Node node) {
  const Node before = previous_[node];
  const Node after = next_[node];
  next_[before] = after;
  previous_[after] = before;
}

MatchFinder::Node MatchFinder::FollowOrAttach(Node parent, int length) {
  const std::uint8_t byte = text_[position_ + length];
  const Node node = Child(parent, byte);
  if (node == 0) {
    MakeChild(parent, byte, static_cast<Node>(position_));
    match_length_ = length;
  }
  return node;
}

void MatchFinder::ReplaceIdentical(Node old_leaf, int old_position) {
  const auto leaf = static_cast<Node>(position_);
  Replace(old_leaf, leaf);
  parent_[old_leaf] = 0;
  next_[old_leaf] = leaf;
  match_length_ = kMaxLength;
  match_position_ = old_position;
}

void MatchFinder::Split(Node old_node, int length, int candidate) {
  const Node node = free_node_;
  free_node_ = next_[node];
  inner_[node] = {static_cast<std::uint8_t>(length), 0, static_cast<Node>(position_)};
  children_[node] = 0;
  Replace(old_node, node);
  MakeChild(node, text_[candidate + length], old_node);
  MakeChild(node, text_[position_ + length], static_cast<Node>(position_));
  match_length_ = length;
  match_position_ = candidate;
}

void MatchFinder::Insert() {
  const int p = position_;
  const auto leaf = static_cast<Node>(p);
  const std::uint8_t* const ahead = text_.data() + p;
  int length = match_length_;
  Node node;
  // After a match of 4 or more, this string shares at least length - 1 bytes
  // with the one after the previous match. Measured against that string in
  // one go, it leaves that string's path at a node found by climbing from
  // that string's leaf (or from the newer leaf that replaced it), with no
  // children looked up on the way down. When the previous match lay 4096
  // back, that leaf is the one just deleted and the walk starts at the root
  // instead.
  const auto restart = static_cast<Node>((match_position_ + 1) | kWindow);
  if (length >= 4 && restart != leaf) {
    const int known = length - 1;
    node = restart;
    Node parent;
    while ((parent = parent_[node]) == 0)
      node = next_[node];
    const int along = Unreduced(node);
    const int common =
        std::min(CommonLength(ahead, text_.data() + along, known, kMaxLength), kMaxLength);
    // Up to the deepest node that the new string passes whole: its child on
    // the path (`node`) is left at the byte where the strings part.
    while (inner_[parent].level > common) {
      node = parent;
      parent = parent_[parent];
    }
    const Node branch = parent;
    const Node branch_position = inner_[branch].position;
    // The nodes passed whole below the known length now have this leaf as
    // their recent position. There is one such node about as often as
    // none, so the first step makes no jump; so does the refresh's below.
    Node up = branch;
    {
      const bool passed = inner_[up].level >= known;
      inner_[up].position = Pick(passed, leaf, inner_[up].position);
      up = Pick(passed, parent_[up], up);
    }
    while (inner_[up].level >= known) {
      inner_[up].position = leaf;
      up = parent_[up];
    }
    // Lazy refresh of the recent positions toward the root.
    {
      const Node stored = inner_[up].position;
      const bool flagged = (stored & kPercolate) != 0;
      inner_[up].position = Pick(flagged, leaf, stored);
      up = Pick(flagged, parent_[up], up);
    }
    while (inner_[up].position & kPercolate) {
      inner_[up].position = leaf;
      up = parent_[up];
    }
    // Roots keep position 0.
    inner_[up].position = up < kFirstRoot ? static_cast<Node>(leaf | kPercolate) : Node{0};

    if (common >= kMaxLength) {
      ReplaceIdentical(node, along);
      return;
    }
    if (inner_[branch].level < common) {
      // The strings part inside the edge to `node`.
      Split(node, common, StringBelow(node));
      return;
    }
    // The strings part right at the branch: the new one may go on along
    // another child.
    match_position_ = RecordedPosition(branch_position);
    node = FollowOrAttach(branch, common);
    if (node == 0) return;
    length = common + 1;
  } else {
    node = FollowOrAttach(static_cast<Node>(ahead[0] + kFirstRoot), 1);
    if (node == 0) return;
    length = 2;
  }
  for (;;) {
    // A leaf stands for its own position and all 256 bytes of its string.
    const bool is_leaf = node >= kWindow;
    const Inner& inner = inner_[node & (kWindow - 1)];
    const int limit = is_leaf ? kMaxLength : inner.level;
    const int candidate = StringBelow(node);
    length = CommonLength(ahead, text_.data() + candidate, length, limit);
    if (length < limit) {
      Split(node, length, candidate);
      return;
    }
    length = limit;
    match_position_ = candidate;
    if (length >= kMaxLength) {
      ReplaceIdentical(node, candidate);
      return;
    }
    inner_[node].position = leaf;
    node = FollowOrAttach(node, length);
    if (node == 0) return;
    ++length;
  }
}

// Removes the leaf of the position 4096 back, whose number the current
// position is about to take, and an internal node left with one child.
void MatchFinder::Delete() {
  const auto leaf = static_cast<Node>(position_);
  const Node node = parent_[leaf];
  if (node == 0) return;
  Unlink(leaf);
  parent_[leaf] = 0;
  // A root's count is kept too, though never looked at: one test then
  // decides both whether the parent is a root and whether it stays.
  Inner& inner = inner_[node];
  children_[node] ^= leaf;
  if ((--inner.child_count > 1) | (node >= kFirstRoot)) return;

  int newest = RecordedPosition(inner.position);
  Node up = parent_[node];
  Node stored = inner_[up].position;
  {  // the first step without a jump, as in Insert
    const bool flagged = (stored & kPercolate) != 0;
    newest = Pick(flagged, std::max(newest, RecordedPosition(stored)), newest);
    inner_[up].position = Pick(flagged, static_cast<Node>(newest | kWindow), stored);
    up = Pick(flagged, parent_[up], up);
  }
  while ((stored = inner_[up].position) & kPercolate) {
    newest = std::max(newest, RecordedPosition(stored));
    inner_[up].position = static_cast<Node>(newest | kWindow);
    up = parent_[up];
  }
  newest = std::max(newest, Unreduced(inner_[up].position));
  inner_[up].position =
      up < kFirstRoot ? static_cast<Node>(newest | kWindow | kPercolate) : Node{0};

  // The child left takes the node's place; the node goes back to the free
  // list.
  const Node only_child = children_[node];
  Unlink(only_child);
  Replace(node, only_child);
  parent_[node] = 0;
  next_[node] = free_node_;
  free_node_ = node;
}

}  // namespace qv::codec
