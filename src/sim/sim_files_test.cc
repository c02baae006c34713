#include "sim/sim_files.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using platform::Errno;
using platform::Outcome;
using platform::WinError;

class SimFilesTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names(std::string_view pattern) {
    std::vector<std::string> names;
    const auto found = files_.Find(pattern);
    if (found) {
      for (const platform::FindData& entry : *found)
        names.push_back(entry.name);
    }
    return names;
  }

  TestMachine machine_{{.floppy = true}};
  platform::Files& files_ = machine_.files();
};

TEST_F(SimFilesTest, FindsHostNamesWithoutRegardToCase) {
  machine_.WriteHost("scope/upgrade/scope/Temp/qv731upg.HDR", "header");
  ASSERT_TRUE(files_.ChangeFolder("\\scope\\upgrade\\scope\\temp\\"));
  EXPECT_EQ(*files_.CurrentFolder(0), "C:\\scope\\upgrade\\scope\\Temp");
  auto header = files_.Open("QV731UPG.hdr", "rb");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->GetLine(10), "header");
  // A new name keeps the case given; later names of any case find it.
  files_.Open("New.Txt", "w")->Write("1");
  files_.Open("NEW.TXT", "a")->Write("2");
  EXPECT_EQ(Names("*.txt"), std::vector<std::string>{"New.Txt"});
  EXPECT_EQ(machine_.ReadHost("scope/upgrade/scope/Temp/New.Txt"), "12");
}

TEST_F(SimFilesTest, OfTwoHostNamesDifferingInCaseTheFirstInByteOrderIsSeen) {
  machine_.WriteHost("twins/Temp/inner.txt", "lower");
  machine_.WriteHost("twins/TEMP/inner.txt", "upper");
  EXPECT_EQ(Names("C:\\twins\\*"), (std::vector<std::string>{".", "..", "TEMP"}));
  EXPECT_EQ(files_.Open("C:\\twins\\temp\\inner.txt", "r")->GetLine(20), "upper");
  EXPECT_EQ(files_.Open("C:\\twins\\Temp\\inner.txt", "r")->GetLine(20), "upper");
}

// Lookups keep the listings of folders that have not changed since a clock
// tick ago; a change made on the host behind the layer's back must show at
// once all the same.
TEST_F(SimFilesTest, AKeptListingShowsEveryLaterHostChange) {
  machine_.WriteHost("kept/a.txt", "a");
  machine_.WriteHost("kept/sub/inner.txt", "inner");
  const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
  const auto exists = [&](std::string_view path) { return files_.Status(path).ok(); };
  settle();
  ASSERT_TRUE(exists("C:\\kept\\A.TXT"));
  ASSERT_TRUE(exists("C:\\kept\\sub\\inner.txt"));

  namespace fs = std::filesystem;
  machine_.WriteHost("kept/b.txt", "b");
  fs::remove(machine_.Host("kept/a.txt"));
  EXPECT_TRUE(exists("C:\\kept\\b.txt"));
  EXPECT_FALSE(exists("C:\\kept\\a.txt"));

  settle();
  ASSERT_TRUE(exists("C:\\kept\\b.txt"));
  fs::rename(machine_.Host("kept/b.txt"), machine_.Host("kept/B.TXT"));
  EXPECT_EQ(Names("C:\\kept\\b.txt"), std::vector<std::string>{"B.TXT"});

  // A folder replaced by another of the same name: the new one's entries.
  settle();
  ASSERT_TRUE(exists("C:\\kept\\sub\\inner.txt"));
  fs::remove_all(machine_.Host("kept/sub"));
  machine_.WriteHost("kept/sub/other.txt", "other");
  EXPECT_FALSE(exists("C:\\kept\\sub\\inner.txt"));
  EXPECT_TRUE(exists("C:\\kept\\sub\\other.txt"));

  // A file where a folder was.
  settle();
  ASSERT_TRUE(exists("C:\\kept\\sub\\other.txt"));
  fs::remove_all(machine_.Host("kept/sub"));
  machine_.WriteHost("kept/sub", "now a file");
  EXPECT_FALSE(exists("C:\\kept\\sub\\other.txt"));
  EXPECT_EQ(files_.Open("C:\\kept\\sub", "r")->GetLine(20), "now a file");
}

TEST_F(SimFilesTest, ReadOnlyFileRefusesChangesAlsoToRoot) {
  machine_.WriteHost("scope/cal/probecal.dat", "cal");
  machine_.WriteHost("scope/cal/new.dat", "new");
  const std::string file = "C:\\scope\\cal\\probecal.dat";
  ASSERT_TRUE(files_.SetWritable(file, false));
  struct stat info;
  ASSERT_EQ(::stat(machine_.Host("scope/cal/probecal.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0222, 0u);  // the host's write bits carry it

  const auto denied = [](const Outcome& outcome) {
    return outcome.error() == WinError::kAccessDenied && outcome.errno_value() == Errno::kEACCES;
  };
  EXPECT_TRUE(denied(files_.Remove(file)));
  for (const char* mode : {"w", "a", "r+", "w+b", "a+"}) {
    EXPECT_TRUE(denied(files_.Open(file, mode).outcome())) << mode;
  }
  EXPECT_TRUE(denied(files_.Move("C:\\scope\\cal\\new.dat", file, true)));
  EXPECT_TRUE(denied(files_.Copy("C:\\scope\\cal\\new.dat", file, false)));
  EXPECT_TRUE(denied(files_.SetTimes(file, 0, 0)));
  EXPECT_TRUE(denied(files_.Access(file, platform::AccessCheck::kWrite)));
  EXPECT_TRUE(files_.Open(file, "r"));
  EXPECT_EQ(machine_.ReadHost("scope/cal/probecal.dat"), "cal");
  // Renaming the read-only file itself is allowed, as on the instrument.
  EXPECT_TRUE(files_.Rename(file, "C:\\scope\\cal\\kept.dat"));
  EXPECT_TRUE(files_.SetWritable("C:\\scope\\cal\\kept.dat", true));
  EXPECT_TRUE(files_.Remove("C:\\scope\\cal\\kept.dat"));
}

TEST_F(SimFilesTest, FailuresGiveTheSystemsCodesErrnoAndLastError) {
  machine_.WriteHost("scope/bin/a.exe", "a");
  machine_.WriteHost("scope/bin/b.exe", "b");
  ASSERT_TRUE(files_.ChangeFolder("C:\\scope\\bin"));
  platform::Result<platform::Stream> held = files_.Open("C:\\scope\\bin\\b.exe", "r");
  struct Case {
    const char* what;
    Outcome outcome;
    WinError error;
    Errno errno_value;
  };
  const Case cases[] = {
      {"delete missing", files_.Remove("nothing.txt"), WinError::kFileNotFound, Errno::kENOENT},
      {"delete in missing folder", files_.Remove("C:\\none\\x"), WinError::kPathNotFound,
       Errno::kENOENT},
      {"missing folder current", files_.ChangeFolder("C:\\none"), WinError::kFileNotFound,
       Errno::kENOENT},
      {"file made current", files_.ChangeFolder("a.exe"), WinError::kDirectory, Errno::kEINVAL},
      {"folder without parent", files_.MakeFolder("C:\\none\\sub"), WinError::kPathNotFound,
       Errno::kENOENT},
      {"folder exists", files_.MakeFolder("C:\\scope"), WinError::kAlreadyExists, Errno::kEEXIST},
      {"name of a file as folder", files_.MakeFolder("a.exe"), WinError::kAlreadyExists,
       Errno::kEEXIST},
      {"remove full folder", files_.RemoveFolder("C:\\scope"), WinError::kDirNotEmpty,
       Errno::kENOTEMPTY},
      {"remove current folder", files_.RemoveFolder("C:\\scope\\bin"), WinError::kCurrentDirectory,
       Errno::kEACCES},
      {"remove missing folder", files_.RemoveFolder("C:\\none"), WinError::kFileNotFound,
       Errno::kENOENT},
      {"delete a folder", files_.Remove("C:\\scope"), WinError::kAccessDenied, Errno::kEACCES},
      {"copy onto existing", files_.Copy("a.exe", "b.exe", true), WinError::kFileExists,
       Errno::kEEXIST},
      {"copy missing", files_.Copy("z.exe", "y.exe", false), WinError::kFileNotFound,
       Errno::kENOENT},
      {"rename onto existing", files_.Rename("a.exe", "B.EXE"), WinError::kAlreadyExists,
       Errno::kEEXIST},
      {"move onto existing", files_.Move("a.exe", "b.exe", false), WinError::kAlreadyExists,
       Errno::kEEXIST},
      {"rename to another drive", files_.Rename("a.exe", "A:\\a.exe"), WinError::kNotSameDevice,
       Errno::kEXDEV},
      {"delete an open file", files_.Remove("b.exe"), WinError::kSharingViolation, Errno::kEACCES},
      {"open missing", files_.Open("z.exe", "r").outcome(), WinError::kFileNotFound,
       Errno::kENOENT},
      {"open a folder", files_.Open("C:\\scope", "r").outcome(), WinError::kAccessDenied,
       Errno::kEACCES},
      {"wildcard in a name", files_.Open("a*.exe", "r").outcome(), WinError::kInvalidName,
       Errno::kEINVAL},
      {"unknown drive", files_.ChangeDrive('Q'), WinError::kInvalidDrive, Errno::kEACCES},
      {"path on unknown drive", files_.Remove("Q:\\x"), WinError::kPathNotFound, Errno::kENOENT},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.outcome.error(), c.error) << c.what;
    EXPECT_EQ(c.outcome.errno_value(), c.errno_value) << c.what;
  }
  // A bad mode string is the run time's own refusal: no system code.
  const auto bad_mode = files_.Open("a.exe", "rw");
  EXPECT_EQ(bad_mode.error(), WinError::kSuccess);
  EXPECT_EQ(bad_mode.errno_value(), Errno::kEINVAL);
  // Every failure is also the last error, whose text the error boxes show.
  files_.Remove("nothing.txt");
  platform::System& system = machine_.machine().system();
  EXPECT_EQ(system.LastError(), WinError::kFileNotFound);
  EXPECT_EQ(system.ErrorText(system.LastError()), "The system cannot find the file specified.\r\n");
}

TEST_F(SimFilesTest, EachDriveKeepsItsOwnCurrentFolder) {
  ASSERT_TRUE(files_.MakeFolder("A:\\sub"));
  ASSERT_TRUE(files_.ChangeFolder("C:\\scope\\bin"));
  ASSERT_TRUE(files_.ChangeFolder("A:sub"));  // relative to A:'s own folder
  EXPECT_EQ(files_.CurrentDrive(), 'A');
  EXPECT_EQ(*files_.CurrentFolder('C'), "C:\\scope\\bin");
  EXPECT_EQ(*files_.CurrentFolder(0), "A:\\sub");
  EXPECT_EQ(*files_.FullPath("c:qv7311x.exe"), "C:\\scope\\bin\\qv7311x.exe");
  EXPECT_EQ(*files_.FullPath("a:"), "A:\\sub");
  EXPECT_EQ(*files_.FullPath("..\\x"), "A:\\x");
  EXPECT_TRUE(files_.Open("c:qv7311x.exe", "rb"));  // "c:" uses C:'s current folder
  ASSERT_TRUE(files_.ChangeDrive('c'));
  EXPECT_TRUE(files_.Open("qv7314x.exe", "rb"));
  EXPECT_EQ(*files_.FullPath("\\windows"), "C:\\windows");
}

TEST_F(SimFilesTest, FindListsInTheSystemsOrder) {
  for (const char* name : {"b.dll", "A.DLL", "_x.txt", "c", "Zeta.Dll"}) {
    machine_.WriteHost(std::string("find/") + name, "12345");
  }
  ASSERT_TRUE(files_.MakeFolder("C:\\find\\sub"));
  EXPECT_EQ(Names("C:\\find\\*"), (std::vector<std::string>{".", "..", "A.DLL", "b.dll", "c", "sub",
                                                            "Zeta.Dll", "_x.txt"}));
  EXPECT_EQ(Names("C:\\find\\*.*"), Names("C:\\find\\*"));
  EXPECT_EQ(Names("C:\\find\\*.dll"), (std::vector<std::string>{"A.DLL", "b.dll", "Zeta.Dll"}));
  EXPECT_EQ(Names("C:\\find\\B.DLL"), std::vector<std::string>{"b.dll"});
  EXPECT_EQ(Names("C:\\find\\c.*"), std::vector<std::string>{"c"});
  EXPECT_EQ(Names("C:\\find\\*."), (std::vector<std::string>{".", "..", "c", "sub"}));
  EXPECT_EQ(Names("C:\\find\\?.dll"), (std::vector<std::string>{"A.DLL", "b.dll"}));
  EXPECT_EQ(Names("C:\\find\\Zeta.D?l"), std::vector<std::string>{"Zeta.Dll"});
  // No "." and ".." at a root.
  EXPECT_EQ(Names("C:\\*"), (std::vector<std::string>{"find", "scope", "windows"}));

  const auto found = files_.Find("C:\\find\\*");
  const platform::FindData& b = (*found)[3];
  EXPECT_EQ(b.size, 5u);
  EXPECT_EQ(b.attributes, platform::attribute::kArchive);
  EXPECT_EQ((*found)[5].attributes, platform::attribute::kDirectory);
  EXPECT_EQ(files_.Find("C:\\find\\*.exe").error(), WinError::kFileNotFound);
  EXPECT_EQ(files_.Find("C:\\lost\\*").error(), WinError::kPathNotFound);
}

TEST_F(SimFilesTest, RenameMoveAndCopyCarryAttributes) {
  machine_.WriteHost("scope/bin/a.dll", "library");
  ASSERT_TRUE(files_.SetAttributes("C:\\scope\\bin\\a.dll", platform::attribute::kHidden |
                                                                platform::attribute::kSystem |
                                                                platform::attribute::kReadOnly));
  ASSERT_TRUE(files_.SetTimes("C:\\scope\\bin\\qv7311x.exe", 990057600, 990057600));
  ASSERT_TRUE(files_.Copy("C:\\scope\\bin\\a.dll", "A:\\a.dll", true));
  ASSERT_TRUE(files_.Copy("C:\\scope\\bin\\qv7311x.exe", "A:\\Q.EXE", false));
  EXPECT_EQ(*files_.GetAttributes("A:\\a.dll"), *files_.GetAttributes("C:\\scope\\bin\\a.dll"));
  EXPECT_EQ(files_.Status("A:\\q.exe")->write_time, 990057600);
  EXPECT_EQ(machine_.ReadHost("a.dll", 'A'), "library");

  // A change of case is a rename of the same entry.
  ASSERT_TRUE(files_.Rename("C:\\scope\\bin\\a.dll", "C:\\scope\\bin\\A.DLL"));
  EXPECT_EQ(Names("C:\\scope\\bin\\a.*"), std::vector<std::string>{"A.DLL"});
  EXPECT_TRUE(*files_.GetAttributes("C:\\scope\\bin\\a.dll") & platform::attribute::kHidden);

  // Move with replace puts the new file in the old one's place in one step.
  machine_.WriteHost("scope/bin/new.tmp", "new");
  ASSERT_TRUE(files_.Move("C:\\scope\\bin\\new.tmp", "C:\\scope\\bin\\qv7311x.exe", true));
  EXPECT_EQ(machine_.ReadHost("scope/bin/qv7311x.exe"), "new");
  EXPECT_FALSE(std::filesystem::exists(machine_.Host("scope/bin/new.tmp")));
  EXPECT_EQ(files_.Move("C:\\scope\\bin\\qv7314x.exe", "A:\\x.exe", true).error(),
            WinError::kNotSameDevice);
}

TEST_F(SimFilesTest, OpenFilesAndCurrentFoldersCannotBeMovedAway) {
  platform::Result<platform::Stream> open = files_.Open("C:\\scope\\data\\x.dat", "w");
  EXPECT_EQ(files_.Rename("C:\\scope\\data", "C:\\scope\\data2").error(),
            WinError::kSharingViolation);
  open->Close();
  ASSERT_TRUE(files_.ChangeFolder("C:\\scope\\data"));
  EXPECT_EQ(files_.Rename("C:\\scope", "C:\\scope2").error(), WinError::kSharingViolation);
  ASSERT_TRUE(files_.ChangeFolder("C:\\"));
  EXPECT_TRUE(files_.Rename("C:\\scope\\data", "C:\\scope\\data2"));
}

TEST_F(SimFilesTest, HostLinksAreNotThere) {
  std::filesystem::create_directory_symlink("/etc", machine_.Host("link"));
  EXPECT_EQ(files_.Open("C:\\link\\passwd", "r").error(), WinError::kPathNotFound);
  for (const std::string& name : Names("C:\\*"))
    EXPECT_NE(name, "link");
}

TEST_F(SimFilesTest, DrivesTypesSpaceAndAFullDisk) {
  EXPECT_EQ(files_.GetDriveType('C'), platform::DriveType::kFixed);
  EXPECT_EQ(files_.GetDriveType('a'), platform::DriveType::kRemovable);
  EXPECT_EQ(files_.GetDriveType('D'), platform::DriveType::kNoRootDir);
  EXPECT_EQ(files_.GetDriveType('Q'), platform::DriveType::kNoRootDir);
  const platform::DiskSpace empty = *files_.GetDiskSpace('A');
  EXPECT_EQ(empty.TotalBytes(), 1457664u);
  EXPECT_EQ(empty.FreeBytes(), 1457664u);
  files_.Open("A:\\data.bin", "wb")->Write(std::string(1000, 'x'));
  EXPECT_EQ(files_.GetDiskSpace('A')->FreeBytes(), 1457664u - 1024);  // two clusters
  platform::Result<platform::Stream> big = files_.Open("A:\\big.bin", "wb");
  EXPECT_EQ(big->Write(std::string(1500000, 'x')), 0u);
  EXPECT_TRUE(big->HasError());
  EXPECT_EQ(machine_.machine().system().LastError(), WinError::kDiskFull);
}

TEST(SimFilesWithoutDisk, RemovableDriveIsNotReady) {
  TestMachine machine;
  platform::Files& files = machine.files();
  EXPECT_EQ(files.GetDriveType('A'), platform::DriveType::kRemovable);
  EXPECT_FALSE(files.DriveReady('A'));
  EXPECT_EQ(files.ChangeDrive('A').error(), WinError::kNotReady);
  EXPECT_EQ(files.Open("A:\\qv731xx.svc", "rb").error(), WinError::kNotReady);
  EXPECT_EQ(files.CurrentDrive(), 'C');
}

}  // namespace
}  // namespace qv::sim
