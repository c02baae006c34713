#include "sim/machine_config.h"

#include <algorithm>
#include <cstdio>

#include "sim/json_fields.h"
#include "sim/latin1.h"

namespace qv::sim {
namespace {

using platform::DriveType;

constexpr std::string_view kFile = "machine.json";
constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 40;

struct DriveTypeName {
  DriveType type;
  std::string_view name;
};
constexpr DriveTypeName kDriveTypes[] = {{DriveType::kFixed, "fixed"},
                                         {DriveType::kRemovable, "removable"},
                                         {DriveType::kCdRom, "cdrom"}};

std::string_view NameOf(DriveType type) {
  for (const auto& entry : kDriveTypes) {
    if (entry.type == type) return entry.name;
  }
  return "fixed";
}

std::string_view NameOf(DriverBehaviour behaviour) {
  switch (behaviour) {
    case DriverBehaviour::kAnswers:
      return "answers";
    case DriverBehaviour::kMissing:
      return "missing";
    case DriverBehaviour::kRefuses:
      return "refuses";
  }
  return "answers";
}

std::optional<std::chrono::sys_seconds> ParseClock(const std::string& text) {
  int year, month, day, hour, minute, second;
  char end;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                  &second, &end) != 6) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok() || year < 1980 || year > 2099 || hour > 23 || minute > 59 || second > 59 ||
      hour < 0 || minute < 0 || second < 0) {
    return std::nullopt;
  }
  return std::chrono::sys_days(date) + std::chrono::hours(hour) + std::chrono::minutes(minute) +
         std::chrono::seconds(second);
}

std::string FormatClock(std::chrono::sys_seconds time) {
  const auto day = std::chrono::floor<std::chrono::days>(time);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss clock(time - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

BoardConfig ParseBoard(const JsonFields& board) {
  BoardConfig config;
  const std::string driver = board.Choice("driver", {"answers", "missing", "refuses"});
  config.driver = driver == "answers"   ? DriverBehaviour::kAnswers
                  : driver == "missing" ? DriverBehaviour::kMissing
                                        : DriverBehaviour::kRefuses;
  config.answer_length = static_cast<int>(board.Integer("answer_length", 0, 64));
  config.address = static_cast<std::uint32_t>(board.Integer("address", 0, 0xFFFFFFFF));
  config.model_register = static_cast<std::uint8_t>(board.Integer("model_register", 0, 255));
  return config;
}

DriveConfig ParseDrive(const JsonFields& drives, const std::string& letter) {
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') {
    drives.Fail(letter, "a drive is named by one upper-case letter");
  }
  if (letter == "D") drives.Fail(letter, "D: is the RAM drive, made from c:\\config.sys");
  const JsonFields drive = drives.Object(letter);
  DriveType type = DriveType::kFixed;
  const std::string name = drive.Choice("type", {"fixed", "removable", "cdrom"});
  for (const auto& entry : kDriveTypes) {
    if (entry.name == name) type = entry.type;
  }
  DriveConfig config = DefaultDrive(letter[0], type);
  if (drive.Has("capacity")) {
    config.capacity = static_cast<std::uint64_t>(drive.Integer("capacity", 0, kMaxBytes));
  }
  if (drive.Has("cluster_bytes")) {
    config.cluster_bytes = static_cast<std::uint32_t>(drive.Integer("cluster_bytes", 512, 65536));
    if ((config.cluster_bytes & (config.cluster_bytes - 1)) != 0) {
      drive.Fail("cluster_bytes", "must be a power of two");
    }
  }
  if (drive.Has("write_protected")) config.write_protected = drive.Boolean("write_protected");
  return config;
}

LoaderConfig ParseLoader(const JsonFields& loader) {
  LoaderConfig config;
  if (loader.Has("file")) config.file = loader.Bytes("file");
  if (loader.Has("command_line")) config.command_line = loader.Bytes("command_line");
  if (loader.Has("current_folder")) config.current_folder = loader.Bytes("current_folder");
  if (loader.Has("process_id")) {
    config.process_id = static_cast<std::uint32_t>(loader.Integer("process_id", 1, 0xFFFFFFFF));
  }
  return config;
}

}  // namespace

DriveConfig DefaultDrive(char letter, DriveType type) {
  DriveConfig config{.letter = letter, .type = type};
  if (type == DriveType::kRemovable) {
    config.capacity = 2847 * 512;  // a 1.44 MB floppy
    config.cluster_bytes = 512;
  } else {
    config.capacity = std::uint64_t{1} << 30;
  }
  return config;
}

MachineConfig MachineConfig::Parse(std::string_view text) {
  MachineConfig config;
  config.document = ParseJsonObject(text, kFile);
  const JsonFields top(config.document, std::string(kFile));
  if (top.Integer("format", kMachineFormat, kMachineFormat) != kMachineFormat) {
    top.Fail("format", "unknown");
  }
  config.board = ParseBoard(top.Object("board"));
  config.memory_bytes = static_cast<std::uint64_t>(top.Integer("memory_bytes", 1 << 20, kMaxBytes));
  config.display_bits = static_cast<int>(top.Object("display").Integer("bits_per_pixel", 1, 32));
  const auto page =
      platform::CodePageFromNumber(static_cast<int>(top.Integer("code_page", 0, 65535)));
  if (!page) top.Fail("code_page", "must be 1252, 932, 936, 949 or 950");
  config.code_page = *page;
  const JsonFields drives = top.Object("drives");
  for (const auto& [letter, unused] : drives.json().items()) {
    config.drives.push_back(ParseDrive(drives, letter));
  }
  std::sort(config.drives.begin(), config.drives.end(),
            [](const DriveConfig& a, const DriveConfig& b) { return a.letter < b.letter; });
  const DriveConfig* c = config.FindDrive('C');
  if (c == nullptr) drives.Fail("C", "missing");
  if (c->type != DriveType::kFixed) drives.Fail("C", "must be a fixed disk");
  config.reboot_accepted = top.Choice("reboot", {"accepted", "refused"}) == "accepted";
  config.printer_wizard_starts = top.Choice("printer_wizard", {"starts", "fails"}) == "starts";
  if (top.Has("loader")) config.loader = ParseLoader(top.Object("loader"));
  if (top.Has("clock")) {
    const JsonFields clock = top.Object("clock");
    const auto start = ParseClock(clock.Text("start"));
    if (!start)
      clock.Fail("start", "must be a local time \"YYYY-MM-DD HH:MM:SS\" from 1980 to 2099");
    config.clock_start = *start;
  }
  return config;
}

const DriveConfig* MachineConfig::FindDrive(char letter) const {
  for (const DriveConfig& drive : drives) {
    if (drive.letter == letter) return &drive;
  }
  return nullptr;
}

nlohmann::ordered_json MachineConfig::ToJson() const {
  nlohmann::ordered_json drives_json = nlohmann::ordered_json::object();
  for (const DriveConfig& drive : drives) {
    drives_json[std::string(1, drive.letter)] = {{"type", NameOf(drive.type)},
                                                 {"capacity", drive.capacity},
                                                 {"cluster_bytes", drive.cluster_bytes},
                                                 {"write_protected", drive.write_protected}};
  }
  nlohmann::ordered_json json = {
      {"format", kMachineFormat},
      {"board",
       {{"driver", NameOf(board.driver)},
        {"answer_length", board.answer_length},
        {"address", board.address},
        {"model_register", board.model_register}}},
      {"memory_bytes", memory_bytes},
      {"display", {{"bits_per_pixel", display_bits}}},
      {"code_page", static_cast<int>(code_page)},
      {"drives", drives_json},
      {"reboot", reboot_accepted ? "accepted" : "refused"},
      {"printer_wizard", printer_wizard_starts ? "starts" : "fails"},
      {"loader",
       {{"file", BytesToJson(loader.file)},
        {"command_line", BytesToJson(loader.command_line)},
        {"current_folder", BytesToJson(loader.current_folder)},
        {"process_id", loader.process_id}}},
      {"clock", {{"start", FormatClock(clock_start)}}},
  };
  // Sections the window system reads, and fields of the display this layer does not read.
  if (document.is_object()) {
    for (const auto& [key, value] : document.items()) {
      if (!json.contains(key)) {
        json[key] = value;
      } else if (key == "display" && value.is_object()) {
        for (const auto& [field, setting] : value.items()) {
          if (!json[key].contains(field)) json[key][field] = setting;
        }
      }
    }
  }
  return json;
}

}  // namespace qv::sim
