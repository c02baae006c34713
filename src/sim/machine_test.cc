#include "sim/machine.h"

#include <gtest/gtest.h>

#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

// The default machine.json with one change applied by the case.
std::string Edited(const std::function<void(nlohmann::ordered_json&)>& edit) {
  MachineConfig config;
  config.drives = {DefaultDrive('C', platform::DriveType::kFixed)};
  nlohmann::ordered_json json = config.ToJson();
  edit(json);
  return json.dump();
}

std::string Refusal(const std::string& text) {
  try {
    MachineConfig::Parse(text);
  } catch (const MachineError& error) {
    return error.what();
  }
  return "";
}

TEST(MachineConfig, RefusesAMalformedOrIncompleteFileNamingTheField) {
  using Json = nlohmann::ordered_json;
  struct Case {
    std::function<void(Json&)> edit;
    std::string message;
  };
  const Case cases[] = {
      {[](Json& j) { j["board"].erase("model_register"); },
       "machine.json: board.model_register: missing"},
      {[](Json& j) { j["board"]["model_register"] = 256; },
       "machine.json: board.model_register: must be an integer from 0 to 255"},
      {[](Json& j) { j["board"]["driver"] = "asleep"; },
       "machine.json: board.driver: must be one of \"answers\", \"missing\", \"refuses\""},
      {[](Json& j) { j["memory_bytes"] = "lots"; },
       "machine.json: memory_bytes: must be an integer from 1048576 to 1099511627776"},
      {[](Json& j) { j.erase("display"); }, "machine.json: display: missing"},
      {[](Json& j) { j["code_page"] = 437; },
       "machine.json: code_page: must be 1252, 932, 936, 949 or 950"},
      {[](Json& j) { j["drives"].erase("C"); }, "machine.json: drives.C: missing"},
      {[](Json& j) { j["drives"]["c"] = j["drives"]["C"]; },
       "machine.json: drives.c: a drive is named by one upper-case letter"},
      {[](Json& j) { j["drives"]["C"]["cluster_bytes"] = 3000; },
       "machine.json: drives.C.cluster_bytes: must be a power of two"},
      {[](Json& j) { j["reboot"] = true; },
       "machine.json: reboot: must be one of \"accepted\", \"refused\""},
      {[](Json& j) { j["clock"]["start"] = "2001-02-30 10:00:00"; },
       "machine.json: clock.start: must be a local time \"YYYY-MM-DD HH:MM:SS\" from 1980 to 2099"},
      {[](Json& j) { j["format"] = 2; }, "machine.json: format: must be an integer from 1 to 1"},
      {[](Json& j) { j = Json::array(); }, "machine.json: must hold one object"},
      {[](Json& j) { j["loader"]["file"] = "C:\\\u4e00.exe"; },
       "machine.json: loader.file: must hold only the characters U+0000 to U+00FF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Refusal(Edited(c.edit)), c.message);
  EXPECT_EQ(Refusal("{\"format\": 1,"),
            "machine.json: not valid JSON ([json.exception.parse_error.101] parse error at line "
            "1, column 14: syntax error while parsing object key - unexpected end of input; "
            "expected string literal)");
  // A number too large for a double is refused like any unreadable file.
  EXPECT_EQ(Refusal("{\"format\": 3e89660928}"),
            "machine.json: not valid JSON ([json.exception.out_of_range.406] number overflow "
            "parsing '3e89660928')");
}

TEST(MachineConfig, KeepsSectionsOfLaterParts) {
  const std::string text = Edited([](nlohmann::ordered_json& j) {
    j["desktop"] = {{"windows", {{{"title", "Power Meter"}}}}};
    j["display"]["width"] = 800;
  });
  const MachineConfig config = MachineConfig::Parse(text);
  const nlohmann::ordered_json again = config.ToJson();
  EXPECT_EQ(again["desktop"]["windows"][0]["title"], "Power Meter");
  EXPECT_EQ(again["display"]["width"], 800);
  EXPECT_EQ(again["display"]["bits_per_pixel"], 24);
}

TEST(MachineConfig, ReadsTheLoadersNamesAsBytesOfTheCodePage) {
  // A double-byte name of code page 932, one character per byte.
  const std::string text =
      Edited([](nlohmann::ordered_json& j) { j["loader"]["command_line"] = "/usb \u0083\\"; });
  const MachineConfig config = MachineConfig::Parse(text);
  EXPECT_EQ(config.loader.command_line, "/usb \x83\x5c");
  EXPECT_EQ(config.ToJson()["loader"]["command_line"], "/usb \u0083\\");
}

// The message a machine whose machine.json was edited so is refused with.
std::string OpenRefusal(const std::function<void(nlohmann::ordered_json&)>& edit) {
  TestMachine test;
  nlohmann::ordered_json json = nlohmann::ordered_json::parse(test.ReadHost("../../machine.json"));
  edit(json);
  test.WriteHost("../../machine.json", json.dump());
  try {
    test.Open();
  } catch (const MachineError& error) {
    return error.what();
  }
  return "";
}

TEST(Machine, TakesTitlesAndPatternsAsBytesUpToU00FF) {
  EXPECT_EQ(OpenRefusal([](nlohmann::ordered_json& j) {
              j["desktop"]["windows"] = {{{"title", "\u0083\\"}, {"class", "Any"}}};
              j["operator"]["dialogs"] = {{{"text", "*\u00e9*"}, {"press", "Wait"}}};
            }),
            "");
  EXPECT_EQ(OpenRefusal([](nlohmann::ordered_json& j) {
              j["desktop"]["windows"] = {{{"title", "\u30a2"}, {"class", "Any"}}};
            }),
            "machine.json: desktop.windows[0].title: a character above U+00FF");
  EXPECT_EQ(OpenRefusal([](nlohmann::ordered_json& j) {
              j["operator"]["boxes"] = {{{"text", "\u4e00"}, {"answer", "ok"}}};
            }),
            "machine.json: operator.boxes[0].text: a character above U+00FF");
}

class RamDriveTest : public ::testing::Test {
 protected:
  static constexpr std::string_view kHimem = "device=c:\\windows\\himem.sys\r\n";
  static constexpr std::string_view kRamDrive = "device=c:\\windows\\ramdrive.sys 16384 /E\r\n";
  TestMachine machine_{{.memory_mib = 64}};
};

TEST_F(RamDriveTest, AppearsEmptyAtBootWhenConfigSysHoldsBothLines) {
  machine_.WriteHost("config.sys",
                     std::string("files=30\r\n") + std::string(kRamDrive) + std::string(kHimem));
  machine_.WriteHost("stale.dll", "left by the last boot", 'D');
  Machine& machine = machine_.Open();
  machine.PowerOn();
  ASSERT_TRUE(machine.HasRamDrive());
  platform::Files& files = machine.files();
  EXPECT_EQ(files.GetDriveType('D'), platform::DriveType::kRamDisk);
  EXPECT_EQ(files.GetDiskSpace('D')->TotalBytes(), 16384u * 1024);
  EXPECT_EQ(files.Find("D:\\*").error(), platform::WinError::kFileNotFound);  // empty
  EXPECT_TRUE(files.ChangeDrive('D'));
}

TEST_F(RamDriveTest, RepeatedLinesMakeItAsWell) {
  machine_.WriteHost("config.sys", std::string(kHimem) + std::string(kRamDrive) +
                                       std::string(kHimem) + std::string(kRamDrive));
  Machine& machine = machine_.Open();
  machine.PowerOn();
  EXPECT_TRUE(machine.HasRamDrive());
}

TEST_F(RamDriveTest, IsNotMadeFromIncompleteOrMisspeltLines) {
  const std::string configs[] = {
      std::string(kRamDrive),
      "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nDEVICE=C:\\WINDOWS\\RAMDRIVE.SYS 16384 /E\r\n",
      std::string(kHimem) + "device=c:\\windows\\ramdrive.sys 16384 /E",      // no line feed
      std::string(kHimem) + std::string(4096, '-') + std::string(kRamDrive),  // a long line
  };
  for (const std::string& config : configs) {
    machine_.WriteHost("config.sys", config);
    Machine& machine = machine_.Open();
    machine.PowerOn();
    EXPECT_FALSE(machine.HasRamDrive()) << config;
    EXPECT_EQ(machine.files().GetDriveType('D'), platform::DriveType::kNoRootDir);
  }
}

TEST(Machine, PowerOnMakesTheLoadersFolderCurrent) {
  TestMachine test;
  std::string json = test.ReadHost("../../machine.json");
  json.replace(json.find("\"C:\\\\\""), 6, "\"C:\\\\scope\\\\bin\"");
  test.WriteHost("../../machine.json", json);
  Machine& machine = test.Open();
  EXPECT_EQ(*machine.files().CurrentFolder(0), "C:\\");
  machine.PowerOn();
  EXPECT_EQ(*machine.files().CurrentFolder(0), "C:\\scope\\bin");
}

TEST(Machine, RefusesAFolderWithoutDriveC) {
  TestMachine test;
  std::filesystem::remove_all(test.Host(""));
  EXPECT_THROW(test.Open(), MachineError);
}

}  // namespace
}  // namespace qv::sim
