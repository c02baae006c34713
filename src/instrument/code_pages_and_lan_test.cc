#include "instrument/code_pages_and_lan.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/fault_injector.h"
#include "sim/host_io.h"
#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

namespace fs = std::filesystem;
using platform::RegistryValue;

class CodePagesAndLanTest : public ::testing::Test {
 protected:
  platform::Registry& registry() { return test_.machine().platform().registry; }
  // The Codepage key's values as registry.json keeps them.
  nlohmann::json CodePageValues() const {
    const nlohmann::json registry =
        nlohmann::json::parse(*sim::ReadWholeFile(test_.folder() / "registry.json"));
    return registry["HKEY_LOCAL_MACHINE"][std::string(kCodePageKey)];
  }

  sim::TestMachine test_;
  app::MainWindow window_;
  app::UserHelpers helpers_{test_.machine().platform(), window_};
};

nlohmann::json Table(std::string_view file) {
  return {{"type", "REG_SZ"}, {"text", file}, {"terminated", false}};
}

TEST_F(CodePagesAndLanTest, AnEmptyKeyGetsExactlyTheFourTables) {
  ASSERT_TRUE(registry().CreateKey(kCodePageKey));
  WriteCodePages(registry());
  EXPECT_EQ(CodePageValues(), (nlohmann::json{{"932", Table("cp_932.nls")},
                                              {"936", Table("cp_936.nls")},
                                              {"949", Table("cp_949.nls")},
                                              {"950", Table("cp_950.nls")}}));
  EXPECT_EQ(registry().QueryValue(kCodePageKey, "950", 64)->data.size(), 10u);
}

TEST_F(CodePagesAndLanTest, AFilledKeyKeepsOtherValuesAndGetsTheTablesOverTheirs) {
  ASSERT_TRUE(registry().CreateKey(kCodePageKey));
  ASSERT_TRUE(registry().SetValue(kCodePageKey, "932", RegistryValue::String("old.nls", true)));
  ASSERT_TRUE(registry().SetValue(kCodePageKey, "437", RegistryValue::String("c_437.nls", true)));
  WriteCodePages(registry());
  EXPECT_EQ(*registry().QueryValue(kCodePageKey, "932", 64), RegistryValue::String("cp_932.nls"));
  EXPECT_EQ(*registry().QueryValue(kCodePageKey, "437", 64),
            RegistryValue::String("c_437.nls", true));
}

TEST_F(CodePagesAndLanTest, ARowWhoseKeyCannotBeMadeIsSkipped) {
  platform::FaultInjector ports(test_.machine().platform());
  ports.FailCall(platform::Call::kCreateKey, 2);
  WriteCodePages(ports.platform().registry);
  EXPECT_TRUE(registry().QueryValue(kCodePageKey, "932", 64));
  EXPECT_FALSE(registry().QueryValue(kCodePageKey, "949", 64));
  EXPECT_TRUE(registry().QueryValue(kCodePageKey, "950", 64));
  EXPECT_TRUE(registry().QueryValue(kCodePageKey, "936", 64));
}

TEST_F(CodePagesAndLanTest, TheLanRequestIsConsumedReadOnlyOrNot) {
  platform::Files& files = test_.files();
  fs::create_directories(test_.Host("scope/upgrade/lan"));
  EXPECT_FALSE(ConsumeLanRequest(files, helpers_));
  test_.WriteHost("scope/upgrade/lan/setup.bat", "");
  ASSERT_TRUE(files.SetWritable(kLanRequest, false));
  EXPECT_TRUE(ConsumeLanRequest(files, helpers_));
  EXPECT_FALSE(fs::exists(test_.Host("scope/upgrade/lan/setup.bat")));
  EXPECT_FALSE(ConsumeLanRequest(files, helpers_));
  EXPECT_TRUE(test_.BoxTexts().empty());
}

TEST_F(CodePagesAndLanTest, ALanRequestThatCannotBeDeletedSaysWhyAndIsNotActedOn) {
  test_.WriteHost("scope/upgrade/lan/setup.bat", "");
  platform::FaultInjector ports(test_.machine().platform());
  ports.FailCall(platform::Call::kRemove, 1, platform::WinError::kAccessDenied, true);
  app::UserHelpers helpers(ports.platform(), window_);
  for (int boot = 0; boot < 2; ++boot) {
    EXPECT_FALSE(ConsumeLanRequest(ports.platform().files, helpers));
  }
  EXPECT_TRUE(fs::exists(test_.Host("scope/upgrade/lan/setup.bat")));
  EXPECT_EQ(test_.BoxTexts(), (std::vector<std::string>(2, "Access is denied.\r\n")));
}

}  // namespace
}  // namespace qv::instrument
