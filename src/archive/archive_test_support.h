// Test helpers: archives built byte by byte, a recorder of the library's
// events, and a scratch machine with removable disks that can be swapped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_library.h"
#include "codec/events.h"
#include "sim/test_machine.h"

namespace qv::archive {

inline constexpr std::uint32_t kExampleTime = 990'057'600;  // 2001-05-17 00:00:00 UTC
inline constexpr std::uint16_t kWritableMode = 0x81B6;

// One member of an archive made for a test.
struct TestMember {
  std::string name;  // as stored ('/' between names)
  std::string data;  // the file's bytes
  bool compress = false;
  std::uint32_t flags = kFlagBinary;
  std::uint16_t mode = kWritableMode;
  std::uint32_t time = kExampleTime;
  std::uint8_t host_code = 16;
  std::uint8_t needed_version = 0x12;
  std::optional<std::uint32_t> crc{};     // instead of the true CRC
  std::optional<std::uint32_t> method{};  // instead of the true method
};

// The member's header and data as they lie in an archive.
std::string MemberBytes(const TestMember& member);
// The end marker (41 bytes).
std::string EndMarkerBytes();
// Members followed by the end marker.
std::string ArchiveBytes(const std::vector<TestMember>& members);

// "" when the two lists are equal, else where they first differ and how.
std::string FirstDifference(const std::vector<std::string>& ours,
                            const std::vector<std::string>& theirs);

// The bytes of a host file ("" when it is missing).
std::string ReadHostFile(const std::filesystem::path& file);

struct Event {
  std::int32_t event = 0;
  std::int32_t value = 0;
  std::string name;

  bool operator==(const Event&) const = default;
};

// Records every event; events 44 and the overwrite question can be answered.
class EventLog {
 public:
  ProgressCallback Callback();
  // The event numbers, in order, without the ones listed.
  std::vector<std::int32_t> Numbers(const std::vector<std::int32_t>& without = {}) const;
  // The events of one number.
  std::vector<Event> Of(std::int32_t event) const;

  std::vector<Event> events;
  std::int32_t answer_44 = 0;
};

// A scratch machine whose drive A: takes disks, each a host folder.
class DiskMachine {
 public:
  explicit DiskMachine(std::uint64_t disk_capacity = 1'457'664);

  sim::TestMachine& machine() { return machine_; }
  platform::Files& files() { return machine_.files(); }
  // Puts disk `number` (from 1; made when first needed) into drive A:, or
  // takes the disk out for 0.
  void Insert(int number);
  std::filesystem::path Disk(int number) const;

 private:
  sim::TestMachine machine_{{.floppy = true}};
  sim::DriveConfig drive_;
};

}  // namespace qv::archive
