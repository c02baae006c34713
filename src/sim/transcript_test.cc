#include "sim/transcript.h"

#include <gtest/gtest.h>

#include "sim/host_io.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using Json = nlohmann::ordered_json;

TEST(ReadableLine, EveryEventReads) {
  struct Case {
    Json entry;
    std::string line;
  };
  const Case cases[] = {
      {{{"t", 12345}, {"event", "draw"}, {"x", 10}, {"y", 30}, {"text", "a \"b\"\\\n\r\t\x01 "}},
       "   12.345 s  draw (10, 30) \"a \\\"b\\\"\\\\\\n\\r\\t\\x01 \""},
      {{{"t", 0}, {"event", "window"}, {"window", "main"}, {"op", "show"}, {"state", "normal"}},
       "    0.000 s  window main show normal"},
      {{{"t", 0},
        {"event", "window"},
        {"window", "statusbox"},
        {"op", "text"},
        {"control", 1000},
        {"text", "x"}},
       "    0.000 s  window statusbox text control 1000 \"x\""},
      {{{"t", 0},
        {"event", "box"},
        {"kind", "yesno"},
        {"caption", "qv731Ldr"},
        {"text", "?"},
        {"answer", "no"}},
       "    0.000 s  box yesno \"qv731Ldr\" \"?\" -> no"},
      {{{"t", 1}, {"event", "sleep"}, {"ms", 5000}}, "    0.001 s  sleep 5000 ms"},
      {{{"t", 0}, {"event", "reboot"}, {"accepted", false}},
       "    0.000 s  reboot requested: refused"},
      {{{"t", 0},
        {"event", "start"},
        {"program", "C:\\a.exe"},
        {"cmdline", "a /b"},
        {"cwd", "C:\\"}},
       "    0.000 s  start C:\\a.exe \"a /b\" in C:\\"},
      {{{"t", 0}, {"event", "exit"}, {"code", 0}}, "    0.000 s  exit with code 0"},
      {{{"t", 0}, {"event", "video_bit"}, {"on", true}}, "    0.000 s  video bit on"},
      {{{"t", 0}, {"event", "display_change"}, {"bits", 24}, {"result", 1}},
       "    0.000 s  display change to 24 bits: result 1"},
      {{{"t", 0}, {"event", "press"}, {"window", "choice"}, {"control", 1003}, {"button", "Wait"}},
       "    0.000 s  press choice control 1003 \"Wait\""},
      {{{"t", 0},
        {"event", "close"},
        {"title", "C:\\"},
        {"class", "CabinetWClass"},
        {"closed", true}},
       "    0.000 s  close \"C:\\\\\" (CabinetWClass) -> closed"},
      {{{"t", 0}, {"event", "printer_wizard"}, {"started", true}},
       "    0.000 s  printer_wizard started=true"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadableLine(c.entry), c.line);
}

TEST(WriteTranscript, WritesBothFormsLineByLine) {
  TestMachine test;
  const std::filesystem::path state = test.folder() / "state";
  WriteTranscript(state, {{{"t", 0}, {"event", "exit"}, {"code", 0}},
                          {{"t", 5}, {"event", "video_bit"}, {"on", false}}});
  EXPECT_EQ(
      ReadWholeFile(state / "transcript.jsonl"),
      "{\"t\":0,\"event\":\"exit\",\"code\":0}\n{\"t\":5,\"event\":\"video_bit\",\"on\":false}\n");
  EXPECT_EQ(ReadWholeFile(state / "transcript.txt"),
            "    0.000 s  exit with code 0\n    0.005 s  video bit off\n");
}

}  // namespace
}  // namespace qv::sim
