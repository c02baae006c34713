#include "sim/boot_observer.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;

TEST(RecordDesktopEvent, TranscriptFieldsOfEveryEvent) {
  VirtualClock clock({}, false);
  Journal journal(clock);
  RecordDesktopEvent(journal, DrawEvent{5, 10, 30, "to complete  "});
  WindowEvent show;
  show.window = "main";
  show.op = WindowOp::kShow;
  show.state = "maximized";
  RecordDesktopEvent(journal, show);
  WindowEvent text;
  text.window = "statusbox";
  text.op = WindowOp::kText;
  text.text = "Extracting a.exe  ( 40%)";
  text.control_id = 1000;
  RecordDesktopEvent(journal, text);
  WindowEvent destroy;
  destroy.window = "choice";
  destroy.op = WindowOp::kDestroy;
  RecordDesktopEvent(journal, destroy);
  RecordDesktopEvent(journal, BoxEvent{9, BoxKind::kWarning, "Error", "x : y\n", BoxAnswer::kOk});
  RecordDesktopEvent(journal, PressEvent{2, "choice", 1005, "Ignore this time"});
  RecordDesktopEvent(journal, CloseEvent{3, "My Computer", "CabinetWClass", false});
  RecordDesktopEvent(journal, DisplayChangeEvent{1, 24, -1});

  std::vector<std::string> lines;
  for (const auto& entry : journal.events())
    lines.push_back(entry.dump());
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                R"({"t":0,"event":"draw","x":10,"y":30,"text":"to complete  "})",
                R"({"t":0,"event":"window","window":"main","op":"show","state":"maximized"})",
                R"j({"t":0,"event":"window","window":"statusbox","op":"text","control":1000,)j"
                R"j("text":"Extracting a.exe  ( 40%)"})j",
                R"({"t":0,"event":"window","window":"choice","op":"destroy"})",
                R"({"t":0,"event":"box","kind":"warning","caption":"Error","text":"x : y\n",)"
                R"("answer":"ok"})",
                R"({"t":0,"event":"press","window":"choice","control":1005,)"
                R"("button":"Ignore this time"})",
                R"({"t":0,"event":"close","title":"My Computer","class":"CabinetWClass",)"
                R"("closed":false})",
                R"({"t":0,"event":"display_change","bits":24,"result":-1})"}));
}

TEST(RecordDesktopEvent, EveryByteBecomesTheCharacterOfItsNumber) {
  VirtualClock clock({}, false);
  Journal journal(clock);
  // Raw, these bytes would not be valid JSON text; this way none is lost.
  RecordDesktopEvent(journal, DrawEvent{0, 0, 0, "caf\xE9 \x80"});
  EXPECT_EQ(journal.events()[0]["text"], "caf\xC3\xA9 \xC2\x80");
  EXPECT_NO_THROW(journal.events()[0].dump());
}

TEST(VirtualClock, StopsAtItsLimitInsteadOfPassingIt) {
  VirtualClock clock({}, false, 10000);
  clock.Sleep(10000);
  EXPECT_THROW(clock.Sleep(1), TimeLimitReached);
  EXPECT_EQ(clock.ElapsedMs(), 10000u);
}

}  // namespace
}  // namespace qv::sim
