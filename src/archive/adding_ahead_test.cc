// Adding with several threads gives the archive and the events of one
// thread: over a tree of every kind of member, with a callback that cancels,
// stops or renames part way through a member, and with failing calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

#include "archive/archive_library.h"
#include "archive/archive_test_support.h"
#include "platform/fault_injector.h"
#include "platform/platform_wrapper.h"
#include "sim/drive.h"

namespace qv::archive {
namespace {

// Everything a callback sees of an event.
std::string Describe(const MemberRecord& record, std::int32_t event, std::int32_t value) {
  std::ostringstream text;
  text << event << ' ' << value << ' ' << record.name_view() << " packed=" << record.packed_size
       << " unpacked=" << record.unpacked_size << " crc=" << record.crc
       << " method=" << record.method << " flags=" << record.flags
       << " status=" << record.status_word;
  return text.str();
}

// The callback's say at an event (it may change the record); 0 by default.
using Meddler = std::function<std::int32_t(MemberRecord&, std::int32_t event, std::int32_t value)>;

// A callback that makes `change` at the third progress event of the member
// whose name ends with `name`.
Meddler AtThirdProgress(std::string_view name, const std::function<void(MemberRecord&)>& change) {
  return [name, change, seen = 0](MemberRecord& record, std::int32_t event, std::int32_t) mutable {
    if (event == event::kAddProgress && record.name_view().ends_with(name) && ++seen == 3) {
      change(record);
    }
    return 0;
  };
}

struct Outcome {
  Status processed = Status::kOk;
  std::string archive;
  std::vector<std::string> events;

  bool operator==(const Outcome&) const = default;
};

// Reports files as a third of their size: files that grew after their
// status was read.
class UnderstatedSizes final : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  platform::Result<platform::FileStatus> Status(std::string_view path) override {
    platform::Result<platform::FileStatus> status = PlatformWrapper::Status(path);
    if (status) status->size /= 3;
    return status;
  }
};

class AddingAheadTest : public ::testing::Test {
 protected:
  void WriteFile(const std::string& path, const std::string& bytes) {
    machine_.WriteHost(path, bytes);
    std::string dos = "C:\\" + path;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    machine_.files().SetTimes(dos, kExampleTime, kExampleTime);
  }

  // Adds "*.*" with keep-paths to a new archive with `threads` threads.
  Outcome Add(int threads, const Meddler& meddle = {},
              const std::function<void(platform::FaultInjector&)>& arm = {}) {
    const std::string name = "OUT" + std::to_string(runs_++) + ".ARQ";
    UnderstatedSizes understated(machine_.machine().platform());
    platform::FaultInjector faults(understate_sizes_ ? understated.platform()
                                                     : machine_.machine().platform());
    ArchiveLibrary library(faults);
    Outcome outcome;
    Meddler fresh = meddle;  // a meddler that counts starts afresh each run
    library.ArchiveSetCallback(kProgressCallbackCode,
                               [&](MemberRecord& record, std::int32_t event, std::int32_t value) {
                                 outcome.events.push_back(Describe(record, event, value));
                                 return fresh ? fresh(record, event, value) : 0;
                               });
    library.SetThreads(threads);
    library.ArchiveSetBestCompression(best_);
    EXPECT_EQ(library.ArchiveOpen(out_dos_ + name, kModeKeepPaths), Status::kOk);
    library.ArchiveSelectAdd("C:\\TREE\\*.*");
    if (arm) arm(faults);
    outcome.processed = library.ArchiveProcess();
    library.ArchiveClose();
    outcome.archive = ReadHostFile(out_host_ / name);
    machine_.files().Remove(out_dos_ + name);  // the space it took is free again
    // The names differ from run to run; nothing else may.
    for (std::string& event : outcome.events) {
      if (const std::size_t at = event.find(name); at != std::string::npos)
        event.erase(at, name.size());
    }
    return outcome;
  }

  // Every thread count gives what one thread gives; one thread's outcome.
  Outcome ExpectSameForEveryThreadCount(
      const Meddler& meddle = {}, const std::function<void(platform::FaultInjector&)>& arm = {}) {
    const Outcome one = Add(1, meddle, arm);
    EXPECT_FALSE(one.events.empty());
    for (const int threads : {2, 4}) {
      const Outcome many = Add(threads, meddle, arm);
      EXPECT_EQ(many.processed, one.processed) << threads;
      EXPECT_TRUE(many.archive == one.archive) << threads << " threads: the archives differ";
      EXPECT_EQ(FirstDifference(many.events, one.events), "") << threads << " threads";
    }
    return one;
  }

  std::string Text(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    static constexpr std::string_view kWords[] = {"alpha ",   "beta ",    "gamma\n", "delta ",
                                                  "epsilon ", "zeta\r\n", "eta ",    "theta "};
    std::string text;
    while (text.size() < size)
      text += kWords[random() % std::size(kWords)];
    text.resize(size);
    return text;
  }
  std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
      byte = static_cast<char>(random());
    return bytes;
  }

  sim::TestMachine machine_;
  // Where the archives are made.
  std::string out_dos_ = "C:\\OUT\\";
  std::filesystem::path out_host_ = machine_.Host("OUT");
  int runs_ = 0;
  bool best_ = false;  // the optimal parse instead of the lazy one
  bool understate_sizes_ = false;
};

TEST_F(AddingAheadTest, EveryKindOfMemberGivesTheSameArchiveAndEvents) {
  machine_.WriteHost("OUT/KEEP", "");
  for (int i = 0; i < 40; ++i) {
    WriteFile("TREE/S" + std::to_string(i % 4) + "/F" + std::to_string(i) + ".TXT",
              Text(static_cast<std::size_t>(i) * 97, i));
  }
  WriteFile("TREE/BIG.TXT", Text(1'500'000, 99));
  // Larger than any file read ahead: packed in place at its turn.
  WriteFile("TREE/HUGE.BIN", Noise((std::size_t{16} << 20) + 5, 7));
  WriteFile("TREE/NOISE.DAT", Noise(70'000, 8));
  WriteFile("TREE/PACKED.ZIP", Text(20'000, 9));
  WriteFile("TREE/EMPTY.TXT", "");
  // A stored name longer than a header holds: an event, no member.
  std::string deep = "TREE";
  for (int i = 0; i < 29; ++i)
    deep += "/ABCDEFGH";
  WriteFile(deep + "/LONG.TXT", "x");
  ExpectSameForEveryThreadCount();
}

// A callback that changes the record part way through a member (here the
// third progress event of M1.TXT) changes it where one thread would.
TEST_F(AddingAheadTest, CallbackChangesTakeEffectWhereTheyWereMade) {
  machine_.WriteHost("OUT/KEEP", "");
  for (int i = 0; i < 4; ++i)
    WriteFile("TREE/M" + std::to_string(i) + ".TXT", Text(300'000, i));
  WriteFile("TREE/S.ARC", Text(60'000, 5));  // stored: its progress comes from the copy
  for (const std::string_view name : {"M1.TXT", "S.ARC"}) {
    SCOPED_TRACE(name);
    ExpectSameForEveryThreadCount(AtThirdProgress(
        name, [](MemberRecord& record) { record.status_word = kStatusWordCancel; }));
    ExpectSameForEveryThreadCount(
        AtThirdProgress(name, [](MemberRecord& record) { record.status_word = 5; }));
    ExpectSameForEveryThreadCount(
        AtThirdProgress(name, [](MemberRecord& record) { record.set_name("TREE\\OTHER.TXT"); }));
  }
  // A change at a member's last event, and one at its first.
  ExpectSameForEveryThreadCount([](MemberRecord& record, std::int32_t event, std::int32_t) {
    if (event == event::kAdded && record.name_view().ends_with("M2.TXT")) record.set_name("X");
    if (event == event::kAddProgress && record.name_view().ends_with("M3.TXT")) record.flags = 0;
    return 0;
  });
}

// A file still being packed when every file is handed out and no other is
// at work has the rest of its matches found ahead on the threads; its
// member is the same, also where the callback changes it part way through.
TEST_F(AddingAheadTest, AMemberTakenOverByTheThreadsGivesTheSameArchiveAndEvents) {
  machine_.WriteHost("OUT/KEEP", "");
  // Taken over once the small file is done (most likely).
  WriteFile("TREE/BIG.TXT", Text(2'300'000, 3));
  WriteFile("TREE/SMALL.TXT", Text(10'000, 4));
  ExpectSameForEveryThreadCount();
  machine_.files().Remove("C:\\TREE\\BIG.TXT");
  machine_.files().Remove("C:\\TREE\\SMALL.TXT");
  // Alone: taken over at its first progress step, in smaller segments.
  WriteFile("TREE/LAST.TXT", Text(700'000, 5));
  ExpectSameForEveryThreadCount();
  ExpectSameForEveryThreadCount(AtThirdProgress(
      "LAST.TXT", [](MemberRecord& record) { record.status_word = kStatusWordCancel; }));
  ExpectSameForEveryThreadCount(AtThirdProgress(
      "LAST.TXT", [](MemberRecord& record) { record.set_name("TREE\\OTHER.TXT"); }));
}

// The library's choice of parse reaches the encoders of every thread, also
// the one that packs a member again after the callback changed it.
TEST_F(AddingAheadTest, TheOptimalParseGivesTheSameArchiveOnEveryThreadCount) {
  machine_.WriteHost("OUT/KEEP", "");
  for (int i = 0; i < 5; ++i)
    WriteFile("TREE/B" + std::to_string(i) + ".TXT", Text(150'000, i));
  const Outcome lazy = Add(1);
  best_ = true;
  const Outcome best = ExpectSameForEveryThreadCount();
  EXPECT_LT(best.archive.size(), lazy.archive.size());
  ExpectSameForEveryThreadCount(
      [seen = 0](MemberRecord& record, std::int32_t event, std::int32_t) mutable {
        if (event == event::kAddProgress && record.name_view().ends_with("B2.TXT") && ++seen == 3)
          record.set_name("TREE\\OTHER.TXT");
        return 0;
      });
}

// A file read ahead is read to its end however much it outgrew its status,
// into blocks that the next files take again.
TEST_F(AddingAheadTest, FilesLargerThanTheirStatusSaidAreAddedWhole) {
  machine_.WriteHost("OUT/KEEP", "");
  understate_sizes_ = true;
  for (int i = 0; i < 6; ++i)
    WriteFile("TREE/F" + std::to_string(i) + ".TXT", Text(100'000 + 90'000 * i, i));
  const Outcome one = ExpectSameForEveryThreadCount();
  for (int i = 0; i < 6; ++i) {
    const std::string whole = "unpacked=" + std::to_string(100'000 + 90'000 * i) + " ";
    EXPECT_TRUE(std::any_of(one.events.begin(), one.events.end(), [&](const std::string& event) {
      return event.find("F" + std::to_string(i) + ".TXT") != std::string::npos &&
             event.find(whole) != std::string::npos;
    })) << i;
  }
}

TEST_F(AddingAheadTest, FailingCallsInTheMiddleGiveTheSameArchiveAndEvents) {
  machine_.WriteHost("OUT/KEEP", "");
  for (int i = 0; i < 6; ++i)
    WriteFile("TREE/F" + std::to_string(i) + ".TXT", Text(30'000, i));
  for (int nth = 1; nth <= 7; ++nth) {
    SCOPED_TRACE(nth);
    // A file that does not open is passed over; one whose status cannot be
    // had fails with an event and ends the entry.
    ExpectSameForEveryThreadCount({}, [nth](platform::FaultInjector& faults) {
      faults.FailCall(platform::Call::kOpen, nth + 1);
    });
    ExpectSameForEveryThreadCount({}, [nth](platform::FaultInjector& faults) {
      faults.FailCall(platform::Call::kStatus, nth);
    });
  }
}

// A disk that fills part way through a member: that member fails as with
// one thread, and the archive takes the same bytes.
TEST_F(AddingAheadTest, DiskThatFillsInTheMiddle) {
  for (int i = 0; i < 6; ++i)
    WriteFile("TREE/F" + std::to_string(i) + ".TXT", Noise(30'000, i));
  out_host_ = machine_.folder() / "disk-d";
  std::filesystem::create_directories(out_host_);
  sim::DriveConfig drive = sim::DefaultDrive('D', platform::DriveType::kFixed);
  out_dos_ = "D:\\";
  for (const std::uint64_t clusters : {14, 20, 27, 40}) {
    SCOPED_TRACE(clusters);
    drive.capacity = clusters * drive.cluster_bytes;
    machine_.machine().files().AddDrive(std::make_shared<sim::Drive>(drive, out_host_));
    const Outcome one = ExpectSameForEveryThreadCount();
    const std::string full = std::to_string(ToInt(Status::kDiskFull)) + " 3 ";
    EXPECT_TRUE(std::any_of(one.events.begin(), one.events.end(),
                            [&](const std::string& event) { return event.starts_with(full); }));
  }
}

}  // namespace
}  // namespace qv::archive
