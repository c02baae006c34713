#include "detector/ignore_list.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "platform/fault_injector.h"
#include "sim/test_machine.h"

namespace qv::detector {
namespace {

using platform::RegistryValue;

NameList Names(auto begin, auto end) {
  return NameList(begin, end);
}

// A registry in memory, for lists too long to write value by value to the
// simulated one, which rewrites its file after every change.
class MemoryRegistry final : public platform::Registry {
 public:
  platform::Outcome CreateKey(std::string_view key) override {
    keys_.try_emplace(std::string(key));
    return {};
  }
  platform::Outcome OpenKey(std::string_view key) override {
    if (keys_.contains(std::string(key))) return {};
    return platform::Failure::System(platform::WinError::kFileNotFound);
  }
  platform::Outcome DeleteKey(std::string_view key) override {
    const std::string below = std::string(key) + '\\';
    std::erase_if(keys_, [&](const auto& entry) {
      return entry.first == key || entry.first.starts_with(below);
    });
    return {};
  }
  platform::Result<RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                             std::size_t capacity) override {
    const auto found = keys_.find(std::string(key));
    if (found == keys_.end() || !found->second.contains(std::string(name))) {
      return platform::Failure::System(platform::WinError::kFileNotFound);
    }
    const RegistryValue& value = found->second.at(std::string(name));
    if (value.data.size() > capacity)
      return platform::Failure::System(platform::WinError::kMoreData);
    return value;
  }
  platform::Outcome SetValue(std::string_view key, std::string_view name,
                             const RegistryValue& value) override {
    keys_.at(std::string(key))[std::string(name)] = value;
    return {};
  }

 private:
  std::map<std::string, std::map<std::string, RegistryValue>> keys_;
};

class IgnoreListTest : public ::testing::Test {
 protected:
  IgnoreListTest()
      : faults_(machine_.machine().platform()), helpers_(faults_.platform(), window_) {}

  // A list as one boot of the loader has it.
  IgnoreList Fresh() { return IgnoreList(faults_, helpers_, skip_); }

  void Store(std::string_view name, const RegistryValue& value) {
    platform::Registry& registry = machine_.machine().platform().registry;
    registry.CreateKey(kProcessesKey);
    registry.SetValue(kProcessesKey, name, value);
  }
  std::optional<RegistryValue> Stored(std::string_view name) {
    auto value = machine_.machine().platform().registry.QueryValue(kProcessesKey, name, 4096);
    return value ? std::optional(*value) : std::nullopt;
  }
  // The names as the registry holds them, checked value by value.
  NameList StoredNames() {
    NameList names;
    const std::optional<RegistryValue> count = Stored(kCountValue);
    if (!count) return names;
    for (std::uint32_t i = 0; i < *count->AsDword(); ++i) {
      const std::optional<RegistryValue> entry = Stored("Proc" + std::to_string(i));
      EXPECT_TRUE(entry && entry->type == platform::RegistryType::kString) << i;
      if (entry) names.emplace_back(entry->data.begin(), entry->data.end());
    }
    return names;
  }
  std::vector<std::string> Boxes() { return machine_.BoxTexts(); }

  sim::TestMachine machine_;
  platform::FaultInjector faults_;
  app::MainWindow window_;
  app::UserHelpers helpers_;
  NameList skip_;
};

TEST_F(IgnoreListTest, AFirstBootResetsAndTheNextBootMergesTheTenthName) {
  IgnoreList first = Fresh();
  EXPECT_FALSE(first.Load());
  first.ResetToDefaults();
  const NameList reset = Names(kResetDefaults.begin(), kResetDefaults.end());
  EXPECT_EQ(first.entries(), reset);
  EXPECT_EQ(skip_, reset);
  EXPECT_EQ(StoredNames(), reset);
  EXPECT_EQ(Stored(kCountValue), RegistryValue::Dword(9));
  // The names are stored without a terminating zero.
  EXPECT_EQ(Stored("Proc0"), RegistryValue::String("Program Manager"));

  skip_ = {"left over"};
  IgnoreList second = Fresh();
  EXPECT_TRUE(second.Load());
  EXPECT_EQ(skip_, reset);
  second.MergeDefaults();
  NameList merged = reset;
  merged.push_back("DESTECH CPU Cooler Utility");
  EXPECT_EQ(second.entries(), merged);
  EXPECT_EQ(skip_, merged);
  EXPECT_EQ(StoredNames(), merged);

  // Nothing to add: nothing is written.
  IgnoreList third = Fresh();
  ASSERT_TRUE(third.Load());
  const int writes = faults_.WriteCount();
  third.MergeDefaults();
  EXPECT_EQ(faults_.WriteCount(), writes);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(IgnoreListTest, AnUnreadableEntryShowsTheSystemsTextAndIsPassedOver) {
  Store(kCountValue, RegistryValue::Dword(4));
  Store("Proc0", RegistryValue::String("Alpha"));
  Store("Proc2", RegistryValue::String("Gamma", true));  // a zero some other writer added
  Store("Proc3", RegistryValue::String(std::string(256, 'x')));
  IgnoreList list = Fresh();
  EXPECT_TRUE(list.Load());
  EXPECT_EQ(list.entries(), (NameList{"Alpha", "Gamma"}));
  EXPECT_EQ(skip_, list.entries());
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"The system cannot find the file specified.\r\n",
                                               "More data is available.\r\n"}));
  // 255 bytes fill the buffer exactly and are read whole.
  Store("Proc3", RegistryValue::String(std::string(255, 'x')));
  EXPECT_TRUE(list.Load());
  EXPECT_EQ(list.entries().back(), std::string(255, 'x'));
}

TEST_F(IgnoreListTest, ACountThatIsMissingOrUnsoundFailsTheLoad) {
  platform::Registry& registry = machine_.machine().platform().registry;
  registry.CreateKey(kProcessesKey);
  IgnoreList list = Fresh();
  EXPECT_FALSE(list.Load());
  Store(kCountValue, RegistryValue{platform::RegistryType::kBinary, {3, 0}});
  EXPECT_FALSE(list.Load());
  // A damaged count would cost an error box per missing entry.
  Store(kCountValue, RegistryValue::Dword(0xFFFFFFFF));
  EXPECT_FALSE(list.Load());
  Store(kCountValue, RegistryValue::Dword(kMaxStoredEntries + 1));
  EXPECT_FALSE(list.Load());
  Store("Proc0", RegistryValue::String("Alpha"));
  EXPECT_FALSE(list.Load()) << "the last entry is missing";
  EXPECT_TRUE(Boxes().empty());
  Store(kCountValue, RegistryValue::Dword(0));
  EXPECT_TRUE(list.Load());
  EXPECT_TRUE(list.entries().empty());
}

TEST_F(IgnoreListTest, AListTheLoaderSavedLoadsWholeHoweverLong) {
  MemoryRegistry registry;
  // A person has answered "Ignore always" for as many programs as the bound.
  registry.CreateKey(kProcessesKey);
  registry.SetValue(kProcessesKey, kCountValue, RegistryValue::Dword(kMaxStoredEntries));
  for (std::uint32_t i = 0; i < kMaxStoredEntries; ++i) {
    registry.SetValue(kProcessesKey, "Proc" + std::to_string(i),
                      RegistryValue::String("Program " + std::to_string(i)));
  }
  IgnoreList answered(registry, helpers_, skip_);
  ASSERT_TRUE(answered.Load());
  answered.AddAndSave("One more");
  IgnoreList next(registry, helpers_, skip_);
  EXPECT_TRUE(next.Load());
  EXPECT_EQ(next.entries().size(), kMaxStoredEntries + 1);
  EXPECT_EQ(next.entries(), answered.entries());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(IgnoreListTest, AMergeIntoAListNotReadInThisRunKeepsTheStoredNames) {
  Store(kCountValue, RegistryValue::Dword(1));
  Store("Proc0", RegistryValue::String("Untitled - Notepad"));
  NameList merged{"Untitled - Notepad"};
  merged.insert(merged.end(), kMergeDefaults.begin(), kMergeDefaults.end());
  IgnoreList list = Fresh();
  list.MergeDefaults();
  EXPECT_EQ(list.entries(), merged);
  EXPECT_EQ(StoredNames(), merged);
  // Emptied by the detector's reset, it is read again.
  list.Clear();
  list.MergeDefaults();
  EXPECT_EQ(list.entries(), merged);

  // Once loaded or saved in the run, the list is merged as it stands.
  IgnoreList reset = Fresh();
  reset.ResetToDefaults();
  Store("Proc0", RegistryValue::String("written by another program"));
  reset.MergeDefaults();
  EXPECT_EQ(StoredNames()[0], kResetDefaults[0]);
  // Nothing stored: the merge gives the merge defaults.
  machine_.machine().platform().registry.DeleteKey(kProcessesKey);
  IgnoreList fresh = Fresh();
  fresh.MergeDefaults();
  EXPECT_EQ(StoredNames(), Names(kMergeDefaults.begin(), kMergeDefaults.end()));
}

TEST_F(IgnoreListTest, AListSavedEmptyLeavesNoValuesAndIsNotLoadedAgain) {
  IgnoreList list = Fresh();
  list.ResetToDefaults();
  list.Clear();
  list.Save();
  EXPECT_TRUE(machine_.machine().platform().registry.OpenKey(kProcessesKey));
  EXPECT_FALSE(Stored(kCountValue));
  EXPECT_FALSE(Stored("Proc0"));
  EXPECT_FALSE(Fresh().Load());
}

TEST_F(IgnoreListTest, MergingComparesWholeNamesWhereTheScanMatchesPieces) {
  Store(kCountValue, RegistryValue::Dword(1));
  Store("Proc0", RegistryValue::String("Power Meter Plus"));
  IgnoreList list = Fresh();
  ASSERT_TRUE(list.Load());
  EXPECT_TRUE(MatchesList(platform::CodePage::kWestern, skip_, "Power Meter"));
  list.MergeDefaults();
  EXPECT_EQ(std::count(list.entries().begin(), list.entries().end(), "Power Meter"), 1);
  EXPECT_EQ(list.entries().size(), 10u);
}

TEST_F(IgnoreListTest, AnAddedNameIsSavedLastWithTheWholeSubkeyRewritten) {
  IgnoreList list = Fresh();
  list.ResetToDefaults();
  Store("Proc42", RegistryValue::String("stale"));
  list.AddAndSave("Untitled - Notepad");
  NameList expected = Names(kResetDefaults.begin(), kResetDefaults.end());
  expected.push_back("Untitled - Notepad");
  EXPECT_EQ(StoredNames(), expected);
  EXPECT_EQ(skip_, expected);
  EXPECT_FALSE(Stored("Proc42"));
}

TEST_F(IgnoreListTest, FailedWritesLeaveAPartialListThatLoadsAsFarAsItGoes) {
  faults_.FailCall(platform::Call::kSetValue, 3, platform::WinError::kAccessDenied);
  IgnoreList list = Fresh();
  list.ResetToDefaults();
  ASSERT_TRUE(Fresh().Load());
  EXPECT_EQ(skip_.size(), 8u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"The system cannot find the file specified.\r\n"}));
  // Without the loader's key nothing is written at all.
  faults_.FailCall(platform::Call::kCreateKey, 1, platform::WinError::kAccessDenied, true);
  list.Save();
  EXPECT_EQ(faults_.CallCount(platform::Call::kDeleteKey), 1);
}

}  // namespace
}  // namespace qv::detector
