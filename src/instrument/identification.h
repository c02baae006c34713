// Which instrument the loader runs on. The acquisition board's driver tells
// where the board's memory window lies; one byte of that window, the model
// register, carries the model code in its low three bits. Odd codes select
// the odd family of scope applications, even codes the even one, 0 none.
// The code is read from the board afresh at every family test.
#pragma once

#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "app/user_helpers.h"
#include "platform/platform.h"

namespace qv::instrument {

inline constexpr std::string_view kDriverDevice = "\\\\.\\qv731xx.vxd";
inline constexpr std::uint32_t kDriverControlCode = 3;
inline constexpr std::size_t kDriverAnswerBytes = 8;
inline constexpr std::uint32_t kModelRegisterOffset = 0xA18000;

enum class Family { kOdd, kEven };

class Identification {
 public:
  // The main window and helpers must outlive it.
  Identification(platform::Board& board, app::MainWindow& main_window, app::UserHelpers& helpers)
      : board_(board), main_window_(main_window), helpers_(helpers) {}

  // Asks the driver for the board's address: true when it answered with
  // exactly 8 bytes (the address is their first four, little-endian). A
  // driver that opens but answers otherwise leaves the address 0; one that
  // does not open leaves it as it was.
  bool DriverQuery();
  // Places the model register at the board address + 0xA18000.
  void LocateModelRegister();
  // The model register's byte AND 7; 0 where nothing answers at its address.
  int ReadModelCode();
  // Each reads the code afresh into the main window's model code.
  bool OddFamily();
  bool EvenFamily();
  // Draws the line for the stored model code at (10, 10).
  void DrawModelLine();

  std::uint32_t board_address() const { return board_address_; }

 private:
  platform::Board& board_;
  app::MainWindow& main_window_;
  app::UserHelpers& helpers_;
  std::uint32_t board_address_ = 0;
  std::uint32_t model_register_ = 0;
};

// "Starting " and the model's padded name, or "Unknown Instrument" and its
// padding for codes that have none.
std::string ModelLine(int model_code);

}  // namespace qv::instrument
