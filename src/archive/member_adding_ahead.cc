// The add entries' files packed ahead on several threads. This thread reads
// each file whole into memory in list order and later writes the members in
// that order; the workers pack the files in between. A file larger than
// kLargestAhead is packed in place at its turn, as with one thread, while
// the workers go on with the files queued behind it. A file still being
// packed when every file is handed out and the other workers are idle has
// the rest of its matches found ahead on all threads, as a file packed in
// place has.
//
// Memory: each worker holds the encoder's working memory (its match finder
// and staging buffer) and one member's file and packed bytes; the queue
// holds at most kAheadPerThread bytes and kFilesAheadPerThread files per
// thread, plus the file being read; the blocks kept for the next files'
// bytes, at most kAheadPerThread bytes.
#include <algorithm>
#include <atomic>
#include <deque>
#include <future>
#include <memory>
#include <utility>

#include "archive/buffer_pool.h"
#include "archive/member_adding.h"
#include "archive/member_header.h"
#include "archive/packing_ahead.h"
#include "archive/slot_streams.h"
#include "archive/threaded_work.h"
#include "archive/worker_pool.h"
#include "codec/matches_ahead_threads.h"

namespace qv::archive {
namespace {

// A file may hold more than its status said, and the encoder takes all of
// it: what lies beyond is read this many bytes at a time.
constexpr std::size_t kReadStep = std::size_t{64} << 10;

// Reads the rest of the file open on the slot into a block of the pool.
void ReadWhole(FileSlots& slots, int slot, BufferPool& buffers, PreparedFile& file) {
  file.buffer = buffers.Take(file.status->size + kReadStep);
  file.size = 0;
  while (true) {
    const std::size_t want = file.buffer.capacity - file.size;
    const std::size_t got = slots.Read(slot, std::span(file.buffer.bytes.get() + file.size, want));
    file.size += got;
    if (got < want) return;
    Buffer larger = buffers.Take(file.buffer.capacity + kReadStep);
    std::copy_n(file.buffer.bytes.get(), file.size, larger.bytes.get());
    buffers.Give(std::exchange(file.buffer, std::move(larger)));
  }
}

// Once every file is handed out and this one is the only one at work, the
// rest of its matches are found on all the threads, so that the last
// files keep every core busy; not for less than two segments' worth.
codec::Encoder::TakeOver TakeOverWhenIdle(WorkerPool& pool, const std::atomic<bool>& all_handed_out,
                                          int threads, std::uint64_t size) {
  return [&pool, &all_handed_out, threads, size](
             std::unique_ptr<codec::MatchFinder>& finder, codec::PackInput& input,
             std::uint64_t position) -> std::unique_ptr<codec::MatchesAhead> {
    const codec::MatchesAheadSizes sizes = codec::MatchesAheadSizesFor(size - position);
    if (size - position < 2 * sizes.segment_positions || !all_handed_out || !pool.OnlyTask())
      return nullptr;
    return std::make_unique<codec::MatchesAheadOnThreads>(input, threads, sizes, std::move(finder),
                                                          position);
  };
}

}  // namespace

struct MemberAdding::Pending {
  std::string path;
  std::string stored;
  bool opened = true;  // false: passed over at its turn without an event
  // Null for a file packed in place at its turn.
  std::shared_ptr<PreparedFile> file;
  std::future<PackedAhead> packed;
};

std::int32_t MemberAdding::AddFilesAhead(const std::vector<std::string>& paths) {
  const auto threads = static_cast<std::size_t>(state_.threads);
  std::atomic<bool> all_handed_out = false;  // outlives the pool's tasks
  WorkerPool pool(state_.threads);
  // Blocks read into once are read into again: a new one costs a page
  // fault per page, on the thread that also writes the archive.
  BufferPool buffers(kAheadPerThread);
  std::deque<Pending> queue;
  std::size_t queued_bytes = 0;
  std::int32_t added = 0;
  bool stopped = false;
  const auto add_front = [&] {
    Pending& front = queue.front();
    stopped = AddPending(front, added);
    if (front.file) {
      queued_bytes -= front.file->size;
      // A file passed over at its turn may still be being packed.
      if (front.packed.valid()) front.packed.wait();
      buffers.Give(std::move(front.file->buffer));
    }
    queue.pop_front();
  };
  for (const std::string& path : paths) {
    std::optional<std::string> stored = Claim(path);
    if (!stored) continue;
    Pending pending = Prepare(path, std::move(*stored), buffers);
    if (pending.file) {
      queued_bytes += pending.file->size;
      // Known before the last file's packing begins, which may then be
      // taken over at once.
      if (&path == &paths.back()) all_handed_out = true;
      pending.packed = pool.Submit(
          [file = std::shared_ptr<const PreparedFile>(pending.file),
           optimal = state_.encoder.optimal_parse(),
           take_over = TakeOverWhenIdle(pool, all_handed_out, state_.threads, pending.file->size)] {
            return PackAhead(*file, optimal, take_over);
          });
    }
    queue.push_back(std::move(pending));
    while (!stopped && (queue.size() > kFilesAheadPerThread * threads ||
                        queued_bytes > threads * kAheadPerThread)) {
      add_front();
    }
    if (stopped) break;
  }
  all_handed_out = true;  // also when the last one was passed over
  while (!stopped && !queue.empty())
    add_front();
  // Files read ahead but never reached were not added.
  for (const Pending& pending : queue)
    added_.erase(pending.stored);
  return added;
}

MemberAdding::Pending MemberAdding::Prepare(const std::string& path, std::string stored,
                                            BufferPool& buffers) {
  Pending pending;
  pending.path = path;
  pending.stored = std::move(stored);
  if (pending.stored.size() > kMaxStoredNameLength) return pending;
  const int input = state_.slots.Open(path, open_mode::kReadOnly);
  if (input < 0) {
    pending.opened = false;
    return pending;
  }
  // The calls in the order packing in place makes them: the text test,
  // then the file's status.
  auto file = std::make_shared<PreparedFile>();
  file->record = NewMemberRecord(pending.stored, input);
  file->status = SlotPackInput(state_.slots, input).ReadStatus();
  // Without a status the encoder fails the member at once, ahead as well.
  if (file->status && file->status->size > kLargestAhead) {
    state_.slots.Close(input);
    return pending;
  }
  file->replacing = existing_.contains(pending.stored);
  if (file->status) ReadWhole(state_.slots, input, buffers, *file);
  state_.slots.Close(input);
  pending.file = std::move(file);
  return pending;
}

bool MemberAdding::AddPending(Pending& pending, std::int32_t& added) {
  if (!NameFits(pending.path, pending.stored) || !pending.opened) return false;
  Status status = Status::kOk;
  if (pending.file) {
    bool replacing = pending.file->replacing;
    status = CommitPackedAhead(state_, record_, *pending.file, pending.packed.get(),
                               state_.work_slot, replacing);
    record_.input_slot = state_.archive_slot;
  } else {
    const int input = state_.slots.Open(pending.path, open_mode::kReadOnly);
    if (input < 0) return false;
    status = AddFile(input, pending.stored);
  }
  return Settle(status, added);
}

}  // namespace qv::archive
