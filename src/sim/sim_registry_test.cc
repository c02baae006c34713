#include "sim/sim_registry.h"

#include <gtest/gtest.h>

#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using platform::RegistryValue;
using platform::WinError;

constexpr std::string_view kCodePages = "System\\CurrentControlSet\\Control\\Nls\\Codepage";
constexpr std::string_view kProcesses = "SOFTWARE\\Halcyra\\Quorvex\\Loader\\Processes";

TEST(SimRegistry, KeepsExactBytesAcrossOpenings) {
  TestMachine machine;
  {
    platform::Registry& registry = machine.machine().platform().registry;
    ASSERT_TRUE(registry.CreateKey(kCodePages));
    ASSERT_TRUE(registry.SetValue(kCodePages, "932", RegistryValue::String("cp_932.nls")));
    ASSERT_TRUE(registry.CreateKey(kProcesses));
    ASSERT_TRUE(registry.SetValue(kProcesses, "NumberOfProcs", RegistryValue::Dword(9)));
    ASSERT_TRUE(registry.SetValue(kProcesses, "Proc0", RegistryValue::String("Power Meter", true)));
  }
  platform::Registry& registry = machine.Open().platform().registry;
  const auto page = registry.QueryValue(kCodePages, "932", 255);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->type, platform::RegistryType::kString);
  EXPECT_EQ(page->data.size(), 10u);  // no terminating zero was written, none appears
  EXPECT_EQ(page->AsText(), "cp_932.nls");
  EXPECT_EQ(registry.QueryValue(kProcesses, "numberofprocs", 4)->AsDword(), 9u);
  EXPECT_EQ(registry.QueryValue(kProcesses, "Proc0", 255)->data.size(), 12u);
  EXPECT_TRUE(registry.OpenKey("software\\HALCYRA"));  // the keys above exist too
  EXPECT_EQ(machine.ReadHost("../../registry.json"),
            R"({
  "HKEY_LOCAL_MACHINE": {
    "SOFTWARE": {},
    "SOFTWARE\\Halcyra": {},
    "SOFTWARE\\Halcyra\\Quorvex": {},
    "SOFTWARE\\Halcyra\\Quorvex\\Loader": {},
    "SOFTWARE\\Halcyra\\Quorvex\\Loader\\Processes": {
      "NumberOfProcs": {
        "type": "REG_DWORD",
        "dword": 9
      },
      "Proc0": {
        "type": "REG_SZ",
        "text": "Power Meter",
        "terminated": true
      }
    },
    "System": {},
    "System\\CurrentControlSet": {},
    "System\\CurrentControlSet\\Control": {},
    "System\\CurrentControlSet\\Control\\Nls": {},
    "System\\CurrentControlSet\\Control\\Nls\\Codepage": {
      "932": {
        "type": "REG_SZ",
        "text": "cp_932.nls",
        "terminated": false
      }
    }
  }
}
)");
}

TEST(SimRegistry, FailuresReturnTheSystemsCodes) {
  TestMachine machine;
  platform::Registry& registry = machine.machine().platform().registry;
  platform::System& system = machine.machine().platform().system;
  EXPECT_EQ(registry.OpenKey(kProcesses).error(), WinError::kFileNotFound);
  EXPECT_EQ(system.LastError(), WinError::kFileNotFound);
  EXPECT_EQ(registry.SetValue(kProcesses, "Proc0", RegistryValue::Dword(1)).error(),
            WinError::kFileNotFound);
  ASSERT_TRUE(registry.CreateKey(kProcesses));
  EXPECT_EQ(registry.QueryValue(kProcesses, "Proc2", 255).error(), WinError::kFileNotFound);
  ASSERT_TRUE(registry.SetValue(kProcesses, "Proc0", RegistryValue::String(std::string(300, 'x'))));
  EXPECT_EQ(registry.QueryValue(kProcesses, "Proc0", 255).error(), WinError::kMoreData);
  EXPECT_EQ(registry.CreateKey("\\leading").error(), WinError::kBadPathname);
}

TEST(SimRegistry, DeletingAKeyTakesEverythingBelowIt) {
  TestMachine machine;
  platform::Registry& registry = machine.machine().platform().registry;
  ASSERT_TRUE(registry.CreateKey(std::string(kProcesses) + "\\Deeper"));
  ASSERT_TRUE(registry.SetValue(kProcesses, "NumberOfProcs", RegistryValue::Dword(0)));
  ASSERT_TRUE(registry.DeleteKey("SOFTWARE\\Halcyra\\Quorvex\\Loader\\PROCESSES"));
  EXPECT_EQ(registry.OpenKey(std::string(kProcesses) + "\\Deeper").error(),
            WinError::kFileNotFound);
  EXPECT_TRUE(registry.OpenKey("SOFTWARE\\Halcyra\\Quorvex\\Loader"));
  EXPECT_EQ(registry.DeleteKey(kProcesses).error(), WinError::kFileNotFound);
}

TEST(SimRegistry, ReadsOtherTypesAndRefusesMalformedValuesByName) {
  TestMachine machine;
  machine.WriteHost("../../registry.json", R"({"HKEY_LOCAL_MACHINE": {"A\\B": {
      "Blob": {"type": "REG_BINARY", "hex": "00ff10"},
      "Odd": {"type": 11, "hex": ""},
      "Word": {"type": "REG_DWORD", "hex": "0102"}}}})");
  platform::Registry& registry = machine.Open().platform().registry;
  EXPECT_TRUE(registry.OpenKey("a"));
  EXPECT_EQ(registry.QueryValue("A\\B", "Blob", 3)->data, (std::vector<std::uint8_t>{0, 255, 16}));
  EXPECT_EQ(static_cast<int>(registry.QueryValue("A\\B", "Odd", 3)->type), 11);
  EXPECT_FALSE(registry.QueryValue("A\\B", "Word", 3)->AsDword().has_value());

  machine.WriteHost("../../registry.json",
                    R"({"HKEY_LOCAL_MACHINE": {"A": {"V": {"type": "REG_SZ", "text": 5}}}})");
  try {
    machine.Open();
    FAIL() << "a malformed registry.json was taken";
  } catch (const MachineError& error) {
    EXPECT_EQ(std::string(error.what()),
              "registry.json: HKEY_LOCAL_MACHINE.A.V.text: must be a string");
  }
}

}  // namespace
}  // namespace qv::sim
