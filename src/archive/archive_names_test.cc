#include "archive/archive_names.h"

#include <gtest/gtest.h>

namespace qv::archive {
namespace {

using Conversion = std::string (*)(std::string_view);

void ExpectConversions(Conversion convert,
                       std::initializer_list<std::pair<const char*, const char*>> cases) {
  for (const auto& [from, to] : cases)
    EXPECT_EQ(convert(from), to) << from;
}

TEST(ArchiveNames, DefaultExtensionOnlyForNamesWithoutOne) {
  ExpectConversions(ArchiveFileName, {{"UPDATE", "UPDATE.arq"},
                                      {"UPDATE   ", "UPDATE.arq"},
                                      {"A.B.", "A.B."},
                                      {"SETUP.EXE", "SETUP.EXE"},
                                      {".ARQ", ".ARQ.arq"},
                                      {"DIR\\.X", "DIR\\.X.arq"}});
  EXPECT_TRUE(EndsWithArq("c:\\x\\UPDATE.Arq"));
  EXPECT_FALSE(EndsWithArq("SETUP.EXE"));
}

TEST(ArchiveNames, DestinationsEndInABackslashUnlessEmptyOrADrive) {
  ExpectConversions(DestinationFolder, {{"C:", "C:"},
                                        {"C:\\x", "C:\\X\\"},
                                        {"\\scope\\upgrade", "\\SCOPE\\UPGRADE\\"},
                                        {"d:\\out\\", "D:\\OUT\\"},
                                        {"", ""}});
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
  for (const char* inside :
       {"A.TXT", "SCOPE\\BIN\\APP.EXE", "A..B", "...X", "CONFIG.SYS", "COM10", "LPT0.TXT"}) {
    EXPECT_TRUE(IsContainedMemberPath(inside)) << inside;
  }
  for (const char* outside :
       {"", "..\\X", "A\\..\\..\\X", "\\ROOT.TXT", "C:\\X", "C:X", "A\\.", ". .\\X", "A\\\\B",
        "DIR\\", "A\x01", "A?B", "A\\...", "NUL", "CON\\X.TXT", "DIR\\AUX.TXT"}) {
    EXPECT_FALSE(IsContainedMemberPath(outside)) << outside;
  }
}

TEST(ArchiveNames, DeviceNamesInAnyCaseWithOrWithoutAnExtension) {
  for (const char* device : {"CON", "prn", "Aux", "NUL.TXT", "nul.tar.gz", "COM1", "com9.log",
                             "LPT1", "lpt9", "CON .TXT", "CON."}) {
    EXPECT_TRUE(IsDeviceName(device)) << device;
  }
  for (const char* file :
       {"CONS", "CONFIG.SYS", "XCON", "COM", "COM0", "COM10", "LPT", "LPTA", "NUL_", ".CON", ""}) {
    EXPECT_FALSE(IsDeviceName(file)) << file;
  }
}

}  // namespace
}  // namespace qv::archive
