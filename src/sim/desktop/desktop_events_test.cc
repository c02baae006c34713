#include "sim/desktop/desktop_events.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;

TEST(EventToJson, TranscriptFieldsOfEveryEvent) {
  EXPECT_EQ(EventToJson(DrawEvent{5, 10, 30, "to complete  "}).dump(),
            R"({"event":"draw","t":5,"text":"to complete  ","x":10,"y":30})");

  WindowEvent show;
  show.t_ms = 7;
  show.window = "main";
  show.op = WindowOp::kShow;
  show.state = "maximized";
  EXPECT_EQ(EventToJson(show).dump(),
            R"({"event":"window","op":"show","state":"maximized","t":7,"window":"main"})");
  WindowEvent text;
  text.window = "statusbox";
  text.op = WindowOp::kText;
  text.text = "Extracting a.exe  ( 40%)";
  text.control_id = 1000;
  EXPECT_EQ(EventToJson(text).dump(),
            R"j({"control":1000,"event":"window","op":"text","t":0,)j"
            R"j("text":"Extracting a.exe  ( 40%)","window":"statusbox"})j");
  WindowEvent destroy;
  destroy.window = "choice";
  destroy.op = WindowOp::kDestroy;
  EXPECT_EQ(EventToJson(destroy).dump(),
            R"({"event":"window","op":"destroy","t":0,"window":"choice"})");

  EXPECT_EQ(EventToJson(BoxEvent{9, BoxKind::kWarning, "Error", "x : y\n", BoxAnswer::kOk}).dump(),
            R"({"answer":"ok","caption":"Error","event":"box","kind":"warning","t":9,)"
            R"("text":"x : y\n"})");
  EXPECT_EQ(EventToJson(DisplayChangeEvent{1, 24, -1}).dump(),
            R"({"bits":24,"event":"display_change","result":-1,"t":1})");
}

TEST(EventToJson, EveryByteBecomesTheCharacterOfItsNumber) {
  // Raw, these bytes would not be valid JSON text; this way none is lost.
  const nlohmann::json json = EventToJson(DrawEvent{0, 0, 0, "caf\xE9 \x80"});
  EXPECT_EQ(json["text"], "caf\xC3\xA9 \xC2\x80");
  EXPECT_NO_THROW(json.dump());
}

}  // namespace
}  // namespace qv::sim
