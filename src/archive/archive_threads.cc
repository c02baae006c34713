// ArchiveLibrary::SetThreads with the work it brings: a program that calls
// it links the threads, one that does not (the loader) links none.
#include <algorithm>

#include "archive/archive_library.h"
#include "archive/decode_ahead.h"
#include "archive/member_adding.h"

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
}

}  // namespace qv::archive
