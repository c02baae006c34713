// What machine.json says about an instrument: its board, memory, display,
// code page, drives, how it answers reboot requests and the printer wizard,
// and how the loader is started. Sections this layer does not read (the
// desktop and the operator script, which the simulated window system reads)
// are kept as they stand in `document`.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/code_page.h"
#include "platform/file_types.h"

namespace qv::sim {

inline constexpr int kMachineFormat = 1;

enum class DriverBehaviour { kAnswers, kMissing, kRefuses };

struct BoardConfig {
  DriverBehaviour driver = DriverBehaviour::kAnswers;
  int answer_length = 8;               // bytes the driver returns
  std::uint32_t address = 0xD0000000;  // board address: the answer's first four bytes
  std::uint8_t model_register = 1;     // the byte at address + 0xA18000
};

struct DriveConfig {
  char letter = 'C';
  platform::DriveType type = platform::DriveType::kFixed;
  std::uint64_t capacity = 0;  // bytes
  std::uint32_t cluster_bytes = 4096;
  bool write_protected = false;
  // The drive stands for a host folder whose space is the host file
  // system's own (as statvfs gives it): nothing is counted or refused here.
  // Tools that work on host files use it; a machine's drives never do.
  bool host_space = false;
  // Writes reach the host file in batches of up to 64 KiB: when the batch is
  // full, before the stream reads, asks its size or writes elsewhere, and
  // when it is flushed or closed, whose result then tells of a failure. A
  // write to the host costs a system call each, and tools write in 4096-byte
  // pieces. What a power cut would leave (the last batch lost) is modelled
  // by the machine's drives only, which never batch.
  bool batch_writes = false;
};

struct LoaderConfig {
  std::string file = "C:\\scope\\bin\\qv731Ldr.exe";
  std::string command_line;
  std::string current_folder = "C:\\";
  std::uint32_t process_id = 0xFFF2A5C3;
};

struct MachineConfig {
  BoardConfig board;
  std::uint64_t memory_bytes = 32u << 20;
  int display_bits = 24;
  platform::CodePage code_page = platform::CodePage::kWestern;
  std::vector<DriveConfig> drives;  // by letter
  bool reboot_accepted = true;
  bool printer_wizard_starts = true;
  LoaderConfig loader;
  // Local time at the start of every boot.
  std::chrono::sys_seconds clock_start =
      std::chrono::sys_days{std::chrono::year{2001} / 5 / 17} + std::chrono::hours{10};
  nlohmann::ordered_json document;  // the whole file as read

  // Throws MachineError naming the field that is missing or wrong.
  static MachineConfig Parse(std::string_view text);
  // The file for this configuration (sections kept from `document` included).
  nlohmann::ordered_json ToJson() const;

  const DriveConfig* FindDrive(char letter) const;
};

// A default drive of the type: 1 GiB fixed disk, 1.44 MB floppy.
DriveConfig DefaultDrive(char letter, platform::DriveType type);

}  // namespace qv::sim
