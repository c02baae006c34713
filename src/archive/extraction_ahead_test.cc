// Extracting with several threads gives the files and the events of one
// thread: damaged members, refused names, read-only targets, and a callback
// that skips, cancels or changes a member part way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "archive/archive_library.h"
#include "archive/archive_test_support.h"

namespace qv::archive {
namespace {

namespace fs = std::filesystem;

using Meddler = std::function<std::int32_t(MemberRecord&, std::int32_t event, std::int32_t value)>;

struct Extraction {
  Status processed = Status::kOk;
  std::map<std::string, std::string> files;  // relative path -> bytes, "(read-only)" marked
  std::vector<std::string> events;
};

std::string Text(std::size_t size, int seed) {
  std::string text;
  while (text.size() < size) {
    text += "line " + std::to_string((text.size() * 7 + static_cast<std::size_t>(seed)) % 1013) +
            " of the probe's log\n";
  }
  return text.substr(0, size);
}

class ExtractionAheadTest : public ::testing::Test {
 protected:
  // Extracts "*.*" into a fresh folder with `threads` threads; `prepare`
  // may put files into that folder first.
  Extraction Extract(int threads, const std::string& archive, const Meddler& meddle,
                     const std::function<void(const std::string& folder)>& prepare) {
    const std::string folder = "OUT" + std::to_string(runs_++);
    machine_.WriteHost(folder + "/KEEP", "");
    if (prepare) prepare(folder);
    machine_.WriteHost("T.ARQ", archive);
    ArchiveLibrary library(machine_.files());
    Extraction extraction;
    Meddler fresh = meddle;
    library.ArchiveSetCallback(
        kProgressCallbackCode, [&](MemberRecord& record, std::int32_t event, std::int32_t value) {
          std::string name(record.name_view());
          if (const std::size_t at = name.find(folder); at != std::string::npos) {
            name.replace(at, folder.size(), "OUT");
          }
          std::ostringstream text;
          text << event << ' ' << value << ' ' << name << " crc=" << record.crc
               << " status=" << record.status_word;
          extraction.events.push_back(text.str());
          return fresh ? fresh(record, event, value) : 0;
        });
    library.SetThreads(threads);
    EXPECT_EQ(library.ArchiveOpen("C:\\T.ARQ", kModeKeepPaths | kModeReadOnly), Status::kOk);
    EXPECT_EQ(library.ArchiveSelectExtract("*.*", "C:\\" + folder), Status::kOk);
    extraction.processed = library.ArchiveProcess();
    library.ArchiveClose();
    const fs::path root = machine_.Host(folder);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      const bool read_only =
          (entry.status().permissions() & fs::perms::owner_write) == fs::perms::none;
      extraction.files[entry.path().lexically_relative(root).string()] =
          ReadHostFile(entry.path()) + (read_only ? "(read-only)" : "");
    }
    return extraction;
  }

  void ExpectSameForEveryThreadCount(const std::vector<TestMember>& members,
                                     const Meddler& meddle = {},
                                     const std::function<void(const std::string&)>& prepare = {}) {
    ExpectSameForEveryThreadCount(ArchiveBytes(members), meddle, prepare);
  }
  // One thread's extraction.
  Extraction ExpectSameForEveryThreadCount(
      const std::string& archive, const Meddler& meddle = {},
      const std::function<void(const std::string&)>& prepare = {}) {
    const Extraction one = Extract(1, archive, meddle, prepare);
    for (const int threads : {2, 4}) {
      const Extraction many = Extract(threads, archive, meddle, prepare);
      EXPECT_EQ(many.processed, one.processed) << threads;
      EXPECT_TRUE(many.files == one.files) << threads << " threads: the files differ";
      EXPECT_EQ(FirstDifference(many.events, one.events), "") << threads << " threads";
    }
    return one;
  }

  // Members of every kind, several chunks long and short, in three folders.
  static std::vector<TestMember> Members() {
    std::vector<TestMember> members;
    for (int i = 0; i < 12; ++i) {
      members.push_back({.name = "D" + std::to_string(i % 3) + "/F" + std::to_string(i) + ".TXT",
                         .data = Text(static_cast<std::size_t>(i) * 9'000 + 1, i),
                         .compress = i % 4 != 3});
    }
    members.push_back({.name = "EMPTY.TXT", .data = "", .compress = true});
    members.push_back({.name = "RO.TXT", .data = Text(5000, 1), .compress = true, .mode = 0x8124});
    return members;
  }

  sim::TestMachine machine_;
  int runs_ = 0;
};

TEST_F(ExtractionAheadTest, WholeArchiveAndRefusedNames) {
  std::vector<TestMember> members = Members();
  members.insert(members.begin() + 4, {.name = "../ESCAPE.TXT", .data = "x", .compress = true});
  members.insert(members.begin() + 7, {.name = "CON.TXT", .data = Text(9000, 3), .compress = true});
  members.insert(members.begin() + 9, {.name = "C:/ROOTED.TXT", .data = "r", .compress = true});
  ExpectSameForEveryThreadCount(members);
}

TEST_F(ExtractionAheadTest, DamagedMembersFailAsWithOneThread) {
  std::vector<TestMember> members = Members();
  members[5].crc = 0x12345678;  // a CRC mismatch
  ExpectSameForEveryThreadCount(members);

  // A damaged stream part way through a member of several blocks: the
  // decoder stops at a chunk in its middle, before the CRC is reached.
  members = Members();
  members.insert(members.begin() + 7,
                 {.name = "LONG.TXT", .data = Text(400'000, 5), .compress = true});
  std::string archive;
  for (std::size_t i = 0; i < members.size(); ++i) {
    std::string bytes = MemberBytes(members[i]);
    if (i == 7)
      std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2), bytes.end(), '\xFF');
    archive += bytes;
  }
  const Extraction damaged = ExpectSameForEveryThreadCount(archive + EndMarkerBytes());
  const auto failed =
      std::find_if(damaged.events.begin(), damaged.events.end(),
                   [](const std::string& event) { return event.starts_with("-7 "); });
  ASSERT_NE(failed, damaged.events.end());
  EXPECT_TRUE((failed - 1)->starts_with("3 ")) << "no chunk after the damage: " << *(failed - 1);
  // An archive cut short inside a member.
  ExpectSameForEveryThreadCount(archive.substr(0, archive.size() / 2));
}

TEST_F(ExtractionAheadTest, ExistingAndReadOnlyTargets) {
  const auto existing = [this](const std::string& folder) {
    machine_.WriteHost(folder + "/D1/F4.TXT", "old");
    machine_.WriteHost(folder + "/D2/F5.TXT", "read-only");
    fs::permissions(machine_.Host(folder + "/D2/F5.TXT"), fs::perms::owner_write,
                    fs::perm_options::remove);
  };
  ExpectSameForEveryThreadCount(Members(), {}, existing);
}

TEST_F(ExtractionAheadTest, CallbackChangesTakeEffectWhereTheyWereMade) {
  const auto on = [](std::string_view name, std::int32_t at_event, int nth,
                     const std::function<std::int32_t(MemberRecord&)>& change) -> Meddler {
    return [=, seen = 0](MemberRecord& record, std::int32_t event, std::int32_t) mutable {
      if (event == at_event && record.name_view().ends_with(name) && ++seen == nth) {
        return change(record);
      }
      return 0;
    };
  };
  const std::vector<TestMember> members = Members();
  // Passed over at event 44.
  ExpectSameForEveryThreadCount(
      members, on("F6.TXT", event::kAboutToExtract, 1, [](MemberRecord&) { return 1; }));
  // Cancelled, or stopped, at the third chunk.
  for (const std::int16_t word : {kStatusWordCancel, std::int16_t{5}}) {
    ExpectSameForEveryThreadCount(
        members, on("F9.TXT", event::kExtractProgress, 3, [word](MemberRecord& record) {
          record.status_word = word;
          return 0;
        }));
  }
  // Another target, and other sizes, at event 44.
  ExpectSameForEveryThreadCount(members,
                                on("F5.TXT", event::kAboutToExtract, 1, [](MemberRecord& record) {
                                  std::string name(record.name_view());
                                  record.set_name(name.substr(0, name.size() - 4) + ".NEW");
                                  return 0;
                                }));
  ExpectSameForEveryThreadCount(members,
                                on("F10.TXT", event::kAboutToExtract, 1, [](MemberRecord& record) {
                                  record.unpacked_size -= 5000;
                                  return 0;
                                }));
}

}  // namespace
}  // namespace qv::archive
