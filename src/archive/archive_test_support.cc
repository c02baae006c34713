#include "archive/archive_test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "archive/member_header.h"
#include "codec/crc32.h"
#include "codec/encoder.h"
#include "codec/memory_streams.h"

namespace qv::archive {
namespace {

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

}  // namespace

std::string MemberBytes(const TestMember& member) {
  MemberRecord record;
  std::string data = member.data;
  record.set_name(member.name);
  record.needed_version = member.needed_version;
  record.host_code = member.host_code;
  record.unpacked_size = static_cast<std::uint32_t>(member.data.size());
  if (member.compress) {
    codec::MemoryPackInput input({member.data.begin(), member.data.end()});
    codec::MemoryPackOutput output;
    codec::Encoder encoder;
    bool replacing = false;
    encoder.PackMember(record, &input, &output, replacing);
    data = Text(output.bytes());
  } else {
    record.method = kMethodStored;
    record.packed_size = record.unpacked_size;
    const std::vector<std::uint8_t> bytes(data.begin(), data.end());
    record.crc = codec::Crc32(bytes);
  }
  record.flags = member.flags;
  record.mode = member.mode;
  record.modification_time = member.time;
  if (member.crc) record.crc = *member.crc;
  if (member.method) record.method = *member.method;
  // The name as given: the header writer turns '\' into '/' only.
  record.set_name(member.name);
  return Text(EncodeMemberHeader(record)) + data;
}

std::string EndMarkerBytes() {
  MemberRecord record;
  return Text(EncodeMemberHeader(record));
}

std::string ArchiveBytes(const std::vector<TestMember>& members) {
  std::string bytes;
  for (const TestMember& member : members)
    bytes += MemberBytes(member);
  return bytes + EndMarkerBytes();
}

std::string ReadHostFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

ProgressCallback EventLog::Callback() {
  return [this](MemberRecord& record, std::int32_t event, std::int32_t value) {
    events.push_back({event, value, std::string(record.name_view())});
    return event == event::kAboutToExtract ? answer_44 : 0;
  };
}

std::vector<std::int32_t> EventLog::Numbers(const std::vector<std::int32_t>& without) const {
  std::vector<std::int32_t> numbers;
  for (const Event& event : events) {
    if (std::find(without.begin(), without.end(), event.event) == without.end()) {
      numbers.push_back(event.event);
    }
  }
  return numbers;
}

std::vector<Event> EventLog::Of(std::int32_t number) const {
  std::vector<Event> found;
  std::copy_if(events.begin(), events.end(), std::back_inserter(found),
               [number](const Event& event) { return event.event == number; });
  return found;
}

DiskMachine::DiskMachine(std::uint64_t disk_capacity)
    : drive_(sim::DefaultDrive('A', platform::DriveType::kRemovable)) {
  drive_.capacity = disk_capacity;
  Insert(1);
}

std::filesystem::path DiskMachine::Disk(int number) const {
  return machine_.folder() / ("disk" + std::to_string(number));
}

void DiskMachine::Insert(int number) {
  const std::filesystem::path folder = number > 0 ? Disk(number) : machine_.folder() / "no-disk";
  if (number > 0) std::filesystem::create_directories(folder);
  machine_.machine().files().AddDrive(std::make_shared<sim::Drive>(drive_, folder));
}

std::string FirstDifference(const std::vector<std::string>& ours,
                            const std::vector<std::string>& theirs) {
  const auto [one, other] = std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end());
  if (one == ours.end() && other == theirs.end()) return "";
  return "at " + std::to_string(one - ours.begin()) + ": " + (one == ours.end() ? "none" : *one) +
         "; the other: " + (other == theirs.end() ? "none" : *other);
}

}  // namespace qv::archive
