#include "sim/attribute_store.h"

#include <gtest/gtest.h>

#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

namespace attribute = platform::attribute;

TEST(AttributeStore, AttributesPersistAcrossTwoOpeningsOfAMachine) {
  TestMachine machine;
  {
    platform::Files& files = machine.files();
    ASSERT_TRUE(files.SetAttributes("C:\\scope\\bin", attribute::kHidden | attribute::kSystem));
    ASSERT_TRUE(files.SetAttributes("C:\\scope\\cal", attribute::kReadOnly));
    ASSERT_TRUE(files.SetWritable("C:\\scope\\bin\\preldr.exe", false));
    ASSERT_TRUE(files.SetAttributes("C:\\scope\\bin\\qv7314x.exe", 0));  // archive cleared
    files.Open("C:\\scope\\data\\gone.dat", "w");
    ASSERT_TRUE(files.SetAttributes("C:\\scope\\data\\gone.dat", attribute::kHidden));
    ASSERT_TRUE(files.Remove("C:\\scope\\data\\gone.dat"));
  }
  platform::Files& files = machine.Open().files();
  EXPECT_EQ(*files.GetAttributes("c:\\SCOPE\\BIN"),
            attribute::kDirectory | attribute::kHidden | attribute::kSystem);
  EXPECT_EQ(*files.GetAttributes("C:\\scope\\cal"), attribute::kDirectory | attribute::kReadOnly);
  EXPECT_EQ(*files.GetAttributes("C:\\scope\\bin\\preldr.exe"),
            attribute::kReadOnly | attribute::kArchive);
  EXPECT_EQ(*files.GetAttributes("C:\\scope\\bin\\qv7314x.exe"), 0u);
  EXPECT_EQ(*files.GetAttributes("C:\\scope\\bin\\qv7311x.exe"), attribute::kArchive);
  // Only what differs from the defaults is kept, readable by a person.
  EXPECT_EQ(machine.ReadHost("../../attributes.json"),
            "{\n"
            "  \"C:\\\\scope\\\\bin\": [\n    \"hidden\",\n    \"system\"\n  ],\n"
            "  \"C:\\\\scope\\\\bin\\\\qv7314x.exe\": [],\n"
            "  \"C:\\\\scope\\\\cal\": [\n    \"readonly\"\n  ]\n"
            "}\n");
}

TEST(AttributeStore, AttributesFollowARenamedFolder) {
  TestMachine machine;
  machine.WriteHost("scope/old_rev/scope/cal/c.dat", "cal");
  platform::Files& files = machine.files();
  ASSERT_TRUE(files.SetAttributes("C:\\scope\\old_rev\\scope\\cal\\c.dat", attribute::kSystem));
  ASSERT_TRUE(files.Rename("C:\\scope\\old_rev", "C:\\scope\\Backup"));
  EXPECT_EQ(*machine.Open().files().GetAttributes("C:\\scope\\backup\\scope\\cal\\c.dat"),
            attribute::kSystem);
  // A file made later under the old name starts plain.
  machine.files().MakeFolder("C:\\scope\\old_rev");
  EXPECT_EQ(*machine.files().GetAttributes("C:\\scope\\old_rev"), attribute::kDirectory);
}

TEST(AttributeStore, RefusesAMalformedFileNamingTheEntry) {
  TestMachine machine;
  machine.WriteHost("../../attributes.json", R"({"C:\\scope": ["shiny"]})");
  try {
    machine.Open();
    FAIL() << "a malformed attributes.json was taken";
  } catch (const MachineError& error) {
    EXPECT_EQ(std::string(error.what()),
              "attributes.json: C:\\scope: attributes are \"readonly\", \"hidden\", \"system\", "
              "\"archive\"");
  }
}

}  // namespace
}  // namespace qv::sim
