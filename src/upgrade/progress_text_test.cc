#include "upgrade/progress_text.h"

#include <gtest/gtest.h>

#include "codec/events.h"

namespace qv::upgrade {
namespace {

MemberRecord Member(std::string_view name, std::uint32_t unpacked_size) {
  MemberRecord record;
  record.set_name(name);
  record.unpacked_size = unpacked_size;
  return record;
}

TEST(ProgressText, ACompressedMemberClimbsAndEndsWithDone) {
  ProgressText progress;
  const MemberRecord record = Member("\\SCOPE\\UPGRADE\\SCOPE\\BIN\\APP.EXE", 10000);
  std::vector<std::string> shown;
  for (const std::int32_t value : {0, 4096, 8192}) {
    ASSERT_TRUE(progress.Apply(record, event::kExtractProgress, value));
    shown.push_back(progress.text());
  }
  ASSERT_TRUE(progress.Apply(record, event::kExtractWritten, 0));
  shown.push_back(progress.text());
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Extracting APP.EXE  (   %)", "Extracting APP.EXE  ( 40%)",
                       "Extracting APP.EXE  ( 81%)", "Extracting APP.EXE  ( 81%)done."}));
}

TEST(ProgressText, OtherEventsLeaveTheTextAndDoneAppendsToWhatWasThere) {
  ProgressText progress;
  const MemberRecord record = Member("README.TXT", 100);
  EXPECT_TRUE(progress.Apply(record, event::kExtractWritten, 0));
  EXPECT_EQ(progress.text(), "done.");
  EXPECT_TRUE(progress.Apply(record, event::kUnstoreBegins, 0));
  EXPECT_EQ(progress.text(), "Unstoring README.TXT  (   %)");
  for (const std::int32_t event :
       {event::kProcessBegins, event::kAboutToExtract, event::kProcessEnds, -7, event::kClosed}) {
    EXPECT_FALSE(progress.Apply(record, event, 5));
  }
  EXPECT_EQ(progress.text(), "Unstoring README.TXT  (   %)");
}

TEST(ProgressText, PercentagesOfLargeAndEmptyMembers) {
  // Above 42,949,672 bytes the count times 100 no longer fits 32 bits.
  EXPECT_EQ(PercentField(50'000'000, 100'000'000), "( 50%)");
  EXPECT_EQ(PercentField(4'000'000'000u, 4'000'000'000u), "(100%)");
  EXPECT_EQ(PercentField(4'000'000'000u, 4'294'967'295u), "( 93%)");
  EXPECT_EQ(PercentField(7, 0), "(   %)");
  EXPECT_EQ(PercentField(9, 3), "(100%)");  // never above 100
  // A count above 2^31 arrives as a negative event value.
  ProgressText progress;
  ASSERT_TRUE(progress.Apply(Member("BIG.DAT", 4'000'000'000u), event::kExtractProgress,
                             static_cast<std::int32_t>(3'000'000'000u)));
  EXPECT_EQ(progress.text(), "Extracting BIG.DAT  ( 75%)");
}

TEST(BaseName, IsThePartAfterTheLastBackslash) {
  EXPECT_EQ(BaseName("A.EXE"), "A.EXE");
  EXPECT_EQ(BaseName("\\A.EXE"), "A.EXE");
  EXPECT_EQ(BaseName("\\SCOPE\\A.EXE"), "A.EXE");
  EXPECT_EQ(BaseName("\\SCOPE\\"), "");
}

}  // namespace
}  // namespace qv::upgrade
