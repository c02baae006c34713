#include "instrument/identification.h"

#include <gtest/gtest.h>

#include "platform/platform_wrapper.h"
#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

// A board whose driver answers as the test says and whose model register
// holds the bytes given, one per read.
class ScriptedBoard : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;

  platform::DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                                      std::size_t capacity) override {
    requests.push_back({std::string(device), control_code, capacity});
    return reply;
  }
  std::optional<std::uint8_t> ReadMemory(std::uint32_t address) override {
    addresses.push_back(address);
    if (register_bytes.empty()) return std::nullopt;
    const std::uint8_t byte = register_bytes.front();
    register_bytes.erase(register_bytes.begin());
    return byte;
  }

  struct Request {
    std::string device;
    std::uint32_t control_code;
    std::size_t capacity;
  };
  platform::DeviceReply reply;
  std::vector<Request> requests;
  std::vector<std::uint32_t> addresses;
  std::vector<std::uint8_t> register_bytes;
};

class IdentificationTest : public ::testing::Test {
 protected:
  platform::DeviceReply Answer(std::vector<std::uint8_t> bytes) {
    return {.opened = true, .succeeded = true, .output = std::move(bytes)};
  }

  sim::TestMachine test_;
  ScriptedBoard board_{test_.machine().platform()};
  app::MainWindow window_;
  app::UserHelpers helpers_{board_.platform(), window_};
  Identification identification_{board_, window_, helpers_};
};

TEST_F(IdentificationTest, TheDriverAnswerGivesTheBoardAddressAndTheModelRegister) {
  board_.reply = Answer({0x00, 0x00, 0x00, 0xD0, 0xFF, 0xFF, 0xFF, 0xFF});
  ASSERT_TRUE(identification_.DriverQuery());
  ASSERT_EQ(board_.requests.size(), 1u);
  EXPECT_EQ(board_.requests[0].device, "\\\\.\\qv731xx.vxd");
  EXPECT_EQ(board_.requests[0].control_code, 3u);
  EXPECT_EQ(board_.requests[0].capacity, 8u);
  EXPECT_EQ(identification_.board_address(), 0xD0000000u);

  identification_.LocateModelRegister();
  board_.register_bytes = {0x0B, 0xFE};  // the register changes between the tests
  EXPECT_TRUE(identification_.OddFamily());
  EXPECT_EQ(window_.model_code, 3);
  EXPECT_TRUE(identification_.EvenFamily());
  EXPECT_EQ(window_.model_code, 6);
  EXPECT_EQ(board_.addresses, (std::vector<std::uint32_t>{0xD0A18000, 0xD0A18000}));
  // Nothing mapped there: no model.
  EXPECT_EQ(identification_.ReadModelCode(), 0);
}

TEST_F(IdentificationTest, AnyOtherAnswerIsNoAnswer) {
  board_.reply = Answer({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(identification_.DriverQuery());
  board_.reply = Answer({1, 2, 3, 4});
  EXPECT_FALSE(identification_.DriverQuery());
  EXPECT_EQ(identification_.board_address(), 0u);

  board_.reply = Answer({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(identification_.DriverQuery());
  board_.reply = {.opened = true, .succeeded = false, .output = {}};
  EXPECT_FALSE(identification_.DriverQuery());
  EXPECT_EQ(identification_.board_address(), 0u);

  // A driver that does not even open leaves the address as it was.
  board_.reply = Answer({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(identification_.DriverQuery());
  board_.reply = {};
  EXPECT_FALSE(identification_.DriverQuery());
  EXPECT_EQ(identification_.board_address(), 0x04030201u);
}

TEST(ModelLine, NamesTheModelPaddedToCoverLongerLines) {
  const std::string pad(22, ' ');
  EXPECT_EQ(ModelLine(1), "Starting qv73101A" + pad);
  EXPECT_EQ(ModelLine(2), "Starting qv73102A" + pad);
  EXPECT_EQ(ModelLine(5), "Starting qv73105A" + pad);
  EXPECT_EQ(ModelLine(7), "Starting qv73107A" + pad);
  for (const int code : {0, 6, 8, -1}) {
    EXPECT_EQ(ModelLine(code), "Unknown Instrument             ") << code;
  }
}

}  // namespace
}  // namespace qv::instrument
