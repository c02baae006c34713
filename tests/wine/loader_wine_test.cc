// The loader under Wine against the simulated instrument: the same machine
// booted on both, compared by what each boot started, showed and left
// (both_machines.h): the normal boot, the switch sets, a missing program, a
// second instance, and other programs' windows with the ignore list.
#include <gtest/gtest.h>

#include "tests/wine/both_machines.h"
#include "tests/wine/wine_prefix.h"

namespace qv::wine_test {
namespace {

namespace fs = std::filesystem;

class LoaderUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  }
};

// The whole record of both boots; boxes are compared with Wine's error
// texts taken as the system's (wine_error_texts.h).
void ExpectSame(const BothBoots& boots) {
  EXPECT_EQ(boots.wine.exit, boots.simulated.exit);
  EXPECT_EQ(boots.wine.events, boots.simulated.events);
  EXPECT_EQ(boots.wine.boxes, boots.simulated.boxes);
  EXPECT_EQ(boots.wine.dialogs, boots.simulated.dialogs);
  EXPECT_EQ(boots.wine.closes, boots.simulated.closes);
  EXPECT_EQ(boots.wine.files, boots.simulated.files);
  EXPECT_EQ(boots.wine.registry, boots.simulated.registry);
}

// Wine reports the host's memory, for which the loader asks for a RAM drive
// first (upgrade_wine_test.cc boots through that); these boots go without.
TEST_F(LoaderUnderWine, NormalBootStartsTheScopeAsOnTheSimulator) {
  BothMachines machines;
  const BothBoots boots = machines.Boot("/noram");
  ASSERT_EQ(boots.simulated.events.size(), 1u);
  EXPECT_EQ(boots.simulated.registry.size(), 10u);  // the built-in ignore list
  ExpectSame(boots);
}

TEST_F(LoaderUnderWine, SwitchSetsStartTheScopeAsOnTheSimulator) {
  for (const char* switches : {"/noram /usb", "/noram /asi", "/noram /maint", "/noram /internal"}) {
    SCOPED_TRACE(switches);
    BothMachines machines;
    const BothBoots boots = machines.Boot(switches);
    ASSERT_EQ(boots.simulated.events.size(), 1u);
    EXPECT_EQ(boots.wine.events, boots.simulated.events);
    EXPECT_EQ(boots.wine.boxes, boots.simulated.boxes);
  }
}

TEST_F(LoaderUnderWine, SecondInstanceEndsAsOnTheSimulator) {
  BothMachines machines;
  Person person;
  person.instance_running = true;
  const BothBoots boots = machines.Boot("/noram", person);
  EXPECT_EQ(boots.simulated.exit, "exit 0");
  EXPECT_TRUE(boots.wine.events.empty());
  EXPECT_TRUE(boots.simulated.registry.empty());
  ExpectSame(boots);
}

TEST_F(LoaderUnderWine, MissingProgramShowsTheSameBoxAsOnTheSimulator) {
  BothMachines machines;
  fs::remove(machines.simulated().machine().Host("scope/bin/qv7311x.exe"));
  const BothBoots boots = machines.Boot("/noram");
  EXPECT_FALSE(boots.simulated.boxes.empty());
  ExpectSame(boots);
}

// An explorer window is closed, a built-in name and an empty title pass,
// an unknown program is asked about and ignored always (the registry list
// grows by it), and the next boot passes it without asking.
TEST_F(LoaderUnderWine, OtherProgramsWindowsMeetTheIgnoreListAsOnTheSimulator) {
  BothMachines machines;
  machines.AddWindow({"My Computer", "CabinetWClass"});
  machines.AddWindow({"Power Meter", "PowerMeterClass", /*visible=*/false});
  machines.AddWindow({"", "NoTitleClass"});
  machines.AddWindow({"Untitled - Notepad", "Notepad"});
  Person person;
  person.dialog_answers["Untitled - Notepad"] = "Ignore always";
  const BothBoots first = machines.Boot("/noram /autostart", person);
  ASSERT_EQ(first.simulated.dialogs.size(), 1u);
  ASSERT_EQ(first.simulated.closes.size(), 1u);
  ExpectSame(first);

  const BothBoots second = machines.Boot("/noram /autostart");
  EXPECT_TRUE(second.simulated.dialogs.empty());
  ExpectSame(second);
}

}  // namespace
}  // namespace qv::wine_test
