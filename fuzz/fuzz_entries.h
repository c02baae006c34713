// The fuzz targets' entry functions, one per target, so that the libFuzzer
// programs (fuzz_main.cc) and the suite's replay of the kept inputs
// (seed_replay_test.cc) run the same code. An entry returns normally for
// any input; a broken promise aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qv::fuzz {

using Entry = void (*)(std::span<const std::uint8_t> input);

// The packed-stream decoder, and the encoder's round trip.
void DecodeInput(std::span<const std::uint8_t> input);
void RoundTripInput(std::span<const std::uint8_t> input);
// Matches found ahead on threads pack as one finder does.
void MatchesAheadInput(std::span<const std::uint8_t> input);
// The optimal parse's round trip.
void OptimalRoundTripInput(std::span<const std::uint8_t> input);
// The archive library's reading and extraction.
void ArchiveInput(std::span<const std::uint8_t> input);
// Files added to an archive come back byte for byte.
void ArchiveUpdateInput(std::span<const std::uint8_t> input);
// The upgrade header and the floppy-disk markers.
void UpgradeHeaderInput(std::span<const std::uint8_t> input);
// c:\chname and c:\acroinst.
void StartupFilesInput(std::span<const std::uint8_t> input);
// c:\config.sys's RAM-drive lines, read and appended.
void ConfigSysInput(std::span<const std::uint8_t> input);
// The ignore list as registry.json holds it.
void IgnoreListInput(std::span<const std::uint8_t> input);
// machine.json.
void MachineJsonInput(std::span<const std::uint8_t> input);

struct Target {
  std::string_view name;  // the program's name and its folder in fuzz/seeds
  Entry entry;
};

inline constexpr Target kTargets[] = {
    {"decode_fuzz", DecodeInput},
    {"round_trip_fuzz", RoundTripInput},
    {"archive_fuzz", ArchiveInput},
    {"archive_update_fuzz", ArchiveUpdateInput},
    {"upgrade_header_fuzz", UpgradeHeaderInput},
    {"startup_files_fuzz", StartupFilesInput},
    {"config_sys_fuzz", ConfigSysInput},
    {"ignore_list_fuzz", IgnoreListInput},
    {"machine_json_fuzz", MachineJsonInput},
    {"optimal_round_trip_fuzz", OptimalRoundTripInput},
    {"matches_ahead_fuzz", MatchesAheadInput},
};

// Aborts with the broken promise on stderr: libFuzzer keeps the input.
[[noreturn]] void Broken(std::string_view promise);

}  // namespace qv::fuzz
