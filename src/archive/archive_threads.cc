// ArchiveLibrary::SetThreads with the work it brings: a program that calls
// it links the threads, one that does not (the loader) links none.
#include <algorithm>
#include <memory>
#include <utility>

#include "archive/archive_library.h"
#include "archive/decode_ahead.h"
#include "archive/member_adding.h"
#include "codec/matches_ahead_threads.h"

namespace qv::archive {
namespace {

std::unique_ptr<MembersAhead> MakeDecodeAhead(LibraryState& state, int threads) {
  return std::make_unique<DecodeAhead>(state, threads);
}

constexpr ThreadedWork kThreadedWork{MakeDecodeAhead, &MemberAdding::AddFilesAhead};

}  // namespace

void ArchiveLibrary::SetThreads(int threads) {
  state_.threads = std::max(threads, 1);
  state_.threaded = &kThreadedWork;
  // A file too large to pack ahead is packed at its turn with its matches
  // found ahead on the threads.
  codec::Encoder::MatchesAheadMaker maker;
  if (state_.threads > 1) {
    maker = [threads = state_.threads](codec::PackInput& input) {
      return std::make_unique<codec::MatchesAheadOnThreads>(input, threads);
    };
  }
  state_.encoder.set_matches_ahead(std::move(maker));
}

}  // namespace qv::archive
