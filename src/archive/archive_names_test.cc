#include "archive/archive_names.h"

#include <gtest/gtest.h>

namespace qv::archive {
namespace {

TEST(ArchiveNames, DefaultExtensionOnlyForNamesWithoutOne) {
  EXPECT_EQ(ArchiveFileName("UPDATE"), "UPDATE.arq");
  EXPECT_EQ(ArchiveFileName("UPDATE   "), "UPDATE.arq");
  EXPECT_EQ(ArchiveFileName("A.B."), "A.B.");
  EXPECT_EQ(ArchiveFileName("SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(ArchiveFileName(".ARQ"), ".ARQ.arq");
  EXPECT_EQ(ArchiveFileName("DIR\\.X"), "DIR\\.X.arq");
  EXPECT_TRUE(EndsWithArq("c:\\x\\UPDATE.Arq"));
  EXPECT_FALSE(EndsWithArq("SETUP.EXE"));
}

TEST(ArchiveNames, DestinationsEndInABackslashUnlessEmptyOrADrive) {
  EXPECT_EQ(DestinationFolder("C:"), "C:");
  EXPECT_EQ(DestinationFolder("C:\\x"), "C:\\X\\");
  EXPECT_EQ(DestinationFolder("\\scope\\upgrade"), "\\SCOPE\\UPGRADE\\");
  EXPECT_EQ(DestinationFolder("d:\\out\\"), "D:\\OUT\\");
  EXPECT_EQ(DestinationFolder(""), "");
}

TEST(ArchiveNames, PartsOfAPath) {
  EXPECT_EQ(FilePart("C:\\A\\B.TXT"), "B.TXT");
  EXPECT_EQ(FilePart("C:B.TXT"), "B.TXT");
  EXPECT_EQ(FolderOf("C:\\A\\B.TXT"), "C:\\A\\");
  EXPECT_EQ(FolderOf("\\B.TXT"), "\\");
  EXPECT_EQ(FolderOf("B.TXT"), "");
  EXPECT_EQ(StripDriveAndLeadingDots("C:..\\.\\A\\B"), "A\\B");
}

TEST(ArchiveNames, OnlyNamesThatStayBelowTheDestinationAreContained) {
  for (const char* inside : {"A.TXT", "SCOPE\\BIN\\APP.EXE", "A..B", "...X"}) {
    EXPECT_TRUE(IsContainedMemberPath(inside)) << inside;
  }
  for (const char* outside : {"", "..\\X", "A\\..\\..\\X", "\\ROOT.TXT", "C:\\X", "C:X", "A\\.",
                              ". .\\X", "A\\\\B", "DIR\\", "A\x01", "A?B", "A\\..."}) {
    EXPECT_FALSE(IsContainedMemberPath(outside)) << outside;
  }
}

}  // namespace
}  // namespace qv::archive
