#include "sim/sim_board.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using platform::WinError;

class SimBoardTest : public ::testing::Test {
 protected:
  // Rewrites one board field and opens the machine again.
  platform::Board& WithBoard(const std::string& field, const nlohmann::ordered_json& value) {
    auto json = nlohmann::ordered_json::parse(test_.ReadHost("../../machine.json"));
    json["board"][field] = value;
    test_.WriteHost("../../machine.json", json.dump());
    return test_.Open().platform().board;
  }

  TestMachine test_{{.model_code = 3}};
};

TEST_F(SimBoardTest, DriverAnswersWithTheBoardAddressAndTheModelRegisterIsThere) {
  platform::Board& board = WithBoard("address", 0xE0001000u);
  const platform::DeviceReply reply = board.RequestDevice("\\\\.\\QV731XX.VXD", 3, 8);
  ASSERT_TRUE(reply.opened && reply.succeeded);
  EXPECT_EQ(reply.output, (std::vector<std::uint8_t>{0x00, 0x10, 0x00, 0xE0, 0, 0, 0, 0}));
  EXPECT_EQ(board.ReadMemory(0xE0001000u + 0xA18000), 3);
  EXPECT_EQ(board.ReadMemory(0xE0001000u), 0);
  EXPECT_EQ(board.ReadMemory(0x00A18000), std::nullopt);  // outside the window
}

TEST_F(SimBoardTest, DriverMissingRefusingOrAnsweringShort) {
  platform::Board& missing = WithBoard("driver", "missing");
  EXPECT_FALSE(missing.RequestDevice("\\\\.\\qv731xx.vxd", 3, 8).opened);
  EXPECT_EQ(test_.machine().platform().system.LastError(), WinError::kFileNotFound);

  const platform::DeviceReply refused =
      WithBoard("driver", "refuses").RequestDevice("\\\\.\\qv731xx.vxd", 3, 8);
  EXPECT_TRUE(refused.opened);
  EXPECT_FALSE(refused.succeeded);

  WithBoard("driver", "answers");
  const platform::DeviceReply short_answer =
      WithBoard("answer_length", 4).RequestDevice("\\\\.\\qv731xx.vxd", 3, 8);
  EXPECT_TRUE(short_answer.succeeded);
  EXPECT_EQ(short_answer.output.size(), 4u);
  EXPECT_FALSE(test_.machine().platform().board.RequestDevice("\\\\.\\other.vxd", 3, 8).opened);
}

TEST_F(SimBoardTest, ExtensionRegisterKeepsTheVideoBit) {
  platform::Board& board = test_.machine().platform().board;
  board.WritePort(kIndexPort, 0x11);
  const std::uint8_t saved = board.ReadPort(kIndexPort);
  board.WritePort(kIndexPort, kVideoRegister);
  board.WritePort(kDataPort, board.ReadPort(kDataPort) | kVideoBit);
  board.WritePort(kIndexPort, saved);
  EXPECT_EQ(test_.machine().board().ExtensionRegister(kVideoRegister), kVideoBit);
  EXPECT_EQ(board.ReadPort(kIndexPort), 0x11);
  board.WritePort(kIndexPort, kVideoRegister);
  EXPECT_EQ(board.ReadPort(kDataPort), kVideoBit);
  EXPECT_EQ(test_.machine().journal().events().back().dump(),
            R"({"t":0,"event":"video_bit","on":true})");
}

TEST_F(SimBoardTest, PrinterWizardOutcomeIsTheMachines) {
  EXPECT_TRUE(test_.machine().platform().board.LaunchPrinterWizard());
  auto json = nlohmann::ordered_json::parse(test_.ReadHost("../../machine.json"));
  json["printer_wizard"] = "fails";
  test_.WriteHost("../../machine.json", json.dump());
  EXPECT_FALSE(test_.Open().platform().board.LaunchPrinterWizard());
}

}  // namespace
}  // namespace qv::sim
