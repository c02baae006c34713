#include "instrument/identification.h"

#include <array>

namespace qv::instrument {
namespace {

// Every name is followed by 22 spaces, so a shorter line drawn later at the
// same place is covered.
constexpr std::array<const char*, 8> kModelNames{
    nullptr,
    "qv73101A                      ",
    "qv73102A                      ",
    "qv73103A                      ",
    "qv73104A                      ",
    "qv73105A                      ",
    nullptr,
    "qv73107A                      ",
};
constexpr const char* kUnknownInstrument = "Unknown Instrument             ";

}  // namespace

bool Identification::DriverQuery() {
  const platform::DeviceReply reply =
      board_.RequestDevice(kDriverDevice, kDriverControlCode, kDriverAnswerBytes);
  if (!reply.opened) return false;
  if (!reply.succeeded || reply.output.size() != kDriverAnswerBytes) {
    board_address_ = 0;
    return false;
  }
  board_address_ = std::uint32_t{reply.output[0]} | std::uint32_t{reply.output[1]} << 8 |
                   std::uint32_t{reply.output[2]} << 16 | std::uint32_t{reply.output[3]} << 24;
  return true;
}

void Identification::LocateModelRegister() {
  model_register_ = board_address_ + kModelRegisterOffset;
}

int Identification::ReadModelCode() {
  // On the instrument an unmapped address would end the process; no model
  // is the sound answer.
  return board_.ReadMemory(model_register_).value_or(0) & 7;
}

bool Identification::OddFamily() {
  main_window_.model_code = ReadModelCode();
  return main_window_.model_code % 2 == 1;
}

bool Identification::EvenFamily() {
  main_window_.model_code = ReadModelCode();
  return main_window_.model_code != 0 && main_window_.model_code % 2 == 0;
}

void Identification::DrawModelLine() {
  helpers_.DrawStatusLine(10, 10, ModelLine(main_window_.model_code));
}

std::string ModelLine(int model_code) {
  if (model_code < 0 || model_code >= static_cast<int>(kModelNames.size()) ||
      kModelNames[static_cast<std::size_t>(model_code)] == nullptr) {
    return kUnknownInstrument;
  }
  return std::string("Starting ") + kModelNames[static_cast<std::size_t>(model_code)];
}

}  // namespace qv::instrument
