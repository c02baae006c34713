// The steps of the main sequence whose parts are not built yet: boots that
// reach every step of this build name them. When a part lands, its names
// leave this list; the machine already holds what later steps act on (an
// upgrade package, the printer marker, a LAN request, a 256-colour
// display), so that steps behind a part that lands join the boots at once.
#include <gtest/gtest.h>

#include "tests/scenario.h"

namespace qv::tests {
namespace {

TEST(MissingSteps, TheseStepsStillDoNothing) {
  Scenario scenario({.memory_mib = 48});
  scenario.machine().WriteHost("config.sys",
                               "device=c:\\windows\\himem.sys\n"
                               "device=c:\\windows\\ramdrive.sys 16384 /E\n");
  std::string header(52, '\0');
  header[0] = 1;
  header.replace(26, 12, "qv731upg.arq");
  scenario.machine().WriteHost("scope/upgrade/scope/temp/qv731upg.hdr", header);
  scenario.machine().WriteHost("scope/bin/addpntr.txt", "");
  scenario.machine().WriteHost("scope/upgrade/lan/setup.bat", "");
  scenario.EditConfig([](nlohmann::ordered_json& json) { json["display"]["bits_per_pixel"] = 8; });
  std::set<std::string, std::less<>> missing;
  for (const char* command_line : {"/autostart", "/copyfiles /clearundo"}) {
    scenario.Boot(command_line);
    missing.insert(scenario.missing().names().begin(), scenario.missing().names().end());
  }
  EXPECT_EQ(missing, (std::set<std::string, std::less<>>{
                         // Detector
                         "reset detector state", "load ignore list", "reset to defaults",
                         "merge defaults", "window scan", "close all choice dialogs"}));
}

}  // namespace
}  // namespace qv::tests
