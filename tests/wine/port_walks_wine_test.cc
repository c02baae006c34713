// The ports on Windows (under Wine) against the simulated instrument's: the
// same walk through a port prints the same lines on both, but for the
// differences listed here with their reasons.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "platform/platform_wrapper.h"
#include "sim/desktop/dialog_template.h"
#include "sim/test_machine.h"
#include "tests/wine/desktop_port_checks.h"
#include "tests/wine/files_port_checks.h"
#include "tests/wine/system_port_checks.h"
#include "tests/wine/wine_error_texts.h"
#include "tests/wine/wine_prefix.h"
#include "win32/side_name_replace.h"

namespace qv::wine_test {
namespace {

// The simulated file system replacing through side names, as Windows 98.
class SideNameFiles : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  platform::Outcome Move(std::string_view from, std::string_view to,
                         bool replace_existing) override {
    if (!replace_existing) return inner().files.Move(from, to, false);
    return win32::ReplaceThroughSideName(inner().files, from, to);
  }
};

// The lines a Windows program printed under Wine, run in a folder of its own.
std::vector<std::string> UnderWine(const char* program, const std::string& arguments) {
  arq_test::ArqFolder folder;
  const arq_test::ArqResult run = TheWinePrefix().Run(folder.path(), program, arguments);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::vector<std::string> lines;
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Where Wine answers otherwise than the instrument's system: the simulator's
// line and Wine's.
const std::map<std::string, std::string> kWineDiffers = {
    // Wine reads a string stored without its zero back with one added.
    {R"(query Bare into 64 bytes: type 1 "wait")",
     R"(query Bare into 64 bytes: type 1 "wait\x00")"},
    // Wine raises a window that SetWindowPos places at the bottom without
    // SWP_NOACTIVATE (the loader's flags) to the top instead.
    {"own windows after it: [Quorvex | #32770][Expanding package | #32770][Port Walk | "
     "FrameWindow]",
     "own windows after it: [Port Walk | FrameWindow][Quorvex | #32770][Expanding package | "
     "#32770]"},
};

// And Wine's system messages are its own texts (wine_error_texts.h).
void ExpectSameWalk(std::vector<std::string> windows, const std::vector<std::string>& simulated) {
  ASSERT_EQ(windows.size(), simulated.size()) << ::testing::PrintToString(windows);
  for (std::size_t i = 0; i < simulated.size(); ++i) {
    windows[i] = AsOnTheSystem(windows[i]);
    const auto differs = kWineDiffers.find(simulated[i]);
    if (differs != kWineDiffers.end() && windows[i] == differs->second) continue;
    EXPECT_EQ(windows[i], simulated[i]);
  }
}

class PortWalkUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  }
};

TEST_F(PortWalkUnderWine, FilesAsOnTheSimulator) {
  sim::TestMachine machine;
  SideNameFiles side_name(machine.machine().platform());
  ExpectSameWalk(UnderWine(QV_WIN64_FILES_PORT_CHECK, ""),
                 FilesPortChecks(machine.files(), side_name));
}

TEST_F(PortWalkUnderWine, RegistryAndSystemAsOnTheSimulator) {
  sim::TestMachine machine;
  machine.machine().system().SetCommandLine("/autostart /usb");
  const platform::Platform ports = machine.machine().platform();
  ExpectSameWalk(UnderWine(QV_WIN64_SYSTEM_PORT_CHECK, "/autostart /usb"),
                 SystemPortChecks(ports.registry, ports.system));
}

// Away from the instrument the Board port answers with errors, never a
// crash: no driver (Wine refuses a VxD name as a bad parameter), nothing
// mapped at a low address, and port I/O forbidden by Windows NT.
TEST_F(PortWalkUnderWine, BoardAwayFromTheInstrumentFailsClearly) {
  EXPECT_EQ(UnderWine(QV_WIN64_BOARD_PORT_CHECK, ""),
            (std::vector<std::string>{"request: opened 0, succeeded 0, error 87",
                                      "memory at 0x10: nothing", "port 0x3c5: 0xFF, error 1314",
                                      "port 0x3c4 written: error 1314"}));
}

TEST_F(PortWalkUnderWine, DesktopAsOnTheSimulator) {
  sim::TestMachine machine;
  const platform::Platform ports = machine.machine().platform();
  std::vector<std::string> windows = UnderWine(QV_WIN64_DESKTOP_PORT_CHECK, "");
  const std::vector<std::string> simulated =
      DesktopPortChecks(ports.desktop, ports.system.CurrentProcessId());
  ASSERT_GE(windows.size(), simulated.size());
  windows.resize(simulated.size());  // the controls' lines follow: below
  ExpectSameWalk(windows, simulated);
}

// MulDiv's rounding, with which the system turns each of a control's
// place and size in dialog units into pixels.
int ToPixels(int units, int base, int per_base) {
  return (units * base * 2 + per_base) / (2 * per_base);
}

std::string WindowClassOf(sim::ControlKind kind) {
  switch (kind) {
    case sim::ControlKind::kEdit:
      return "Edit";
    case sim::ControlKind::kStatic:
      return "Static";
    case sim::ControlKind::kPushButton:
    case sim::ControlKind::kGroupBox:
      return "Button";
  }
  return "";
}

// The dialogs Windows built from the generated resource script hold the
// simulator's templates: every control with its id, class, style, text and
// place, in order.
TEST_F(PortWalkUnderWine, DialogResourcesHoldTheTemplates) {
  const std::vector<std::string> windows = UnderWine(QV_WIN64_DESKTOP_PORT_CHECK, "");
  const sim::DialogTemplates templates = sim::BuiltInDialogTemplates();
  std::vector<std::string> expected;
  std::vector<std::string> listed;
  int base_x = 0;
  int base_y = 0;
  for (const std::string& line : windows) {
    if (line.rfind("dialog ", 0) == 0) {
      const std::size_t at = line.rfind(" base units ");
      std::sscanf(line.c_str() + at, " base units %d %d", &base_x, &base_y);
      const int id = line.find("Quorvex") != std::string::npos ? platform::kChoiceDialogTemplate
                                                               : platform::kStatusBoxTemplate;
      for (const sim::DialogControl& control : templates.Find(id)->controls) {
        const bool button = WindowClassOf(control.kind) == "Button";
        const std::uint32_t style =
            control.style | (control.kind == sim::ControlKind::kGroupBox ? 0x7u : 0u);
        char text[512];
        std::snprintf(text, sizeof text, "control %d %s 0x%08X \"%s\" %d %d %d %d", control.id,
                      WindowClassOf(control.kind).c_str(), style,
                      button ? control.text.c_str() : "", ToPixels(control.x, base_x, 4),
                      ToPixels(control.y, base_y, 8), ToPixels(control.width, base_x, 4),
                      ToPixels(control.height, base_y, 8));
        expected.push_back(text);
      }
    } else if (line.rfind("control ", 0) == 0) {
      listed.push_back(line);
    }
  }
  EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace qv::wine_test
