#include "sim/desktop/machine_sections.h"

#include <algorithm>
#include <array>
#include <limits>

#include "sim/desktop/desktop_names.h"

namespace qv::sim {
namespace {

constexpr std::int64_t kMaxMs = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMaxScan = std::numeric_limits<int>::max();
constexpr std::int64_t kMaxPixels = 16384;

PixelRect ReadRect(const nlohmann::json& value, const std::string& path) {
  if (!value.is_array() || value.size() != 4) {
    throw SectionError(path + ": expected [x, y, width, height]");
  }
  std::array<int, 4> numbers{};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int64_t min = i < 2 ? -kMaxPixels : 0;
    numbers[i] = static_cast<int>(
        ReadInteger(value[i], path + "[" + std::to_string(i) + "]", min, kMaxPixels));
  }
  return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

Lifetime ReadLifetime(ObjectReader& reader) {
  Lifetime lifetime;
  lifetime.from_ms = reader.OptionalInteger("from_ms", 0, kMaxMs).value_or(0);
  lifetime.until_ms = reader.OptionalInteger("until_ms", 0, kMaxMs);
  lifetime.first_scan =
      static_cast<int>(reader.OptionalInteger("first_scan", 0, kMaxScan).value_or(0));
  if (auto last = reader.OptionalInteger("last_scan", 0, kMaxScan)) {
    lifetime.last_scan = static_cast<int>(*last);
  }
  return lifetime;
}

ProgramWindow ReadProgramWindow(const nlohmann::json& value, const std::string& path,
                                std::uint32_t default_process) {
  ObjectReader reader(value, path);
  ProgramWindow window;
  window.title = reader.String("title");
  window.class_name = reader.String("class");
  window.process_id = static_cast<std::uint32_t>(
      reader.OptionalInteger("process", 0, std::numeric_limits<std::uint32_t>::max())
          .value_or(default_process));
  window.visible = reader.Boolean("visible", true);
  if (auto state = reader.OptionalString("state")) {
    const auto parsed = WindowStateFromName(*state);
    if (!parsed) {
      throw SectionError(reader.FieldPath("state") + ": expected normal, minimized or maximized");
    }
    window.state = *parsed;
  }
  if (const nlohmann::json* rect = reader.Find("rect")) {
    window.rect = ReadRect(*rect, reader.FieldPath("rect"));
  }
  window.lifetime = ReadLifetime(reader);
  if (auto on_close = reader.OptionalString("on_close")) {
    if (*on_close != "close" && *on_close != "stay") {
      throw SectionError(reader.FieldPath("on_close") + ": expected close or stay");
    }
    window.on_close = *on_close == "close" ? CloseBehaviour::kClose : CloseBehaviour::kStay;
  }
  reader.Finish();
  return window;
}

void ReadDesktop(ObjectReader& reader, std::vector<ProgramWindow>& windows) {
  std::uint32_t default_process = kFirstDefaultProcessId;
  reader.ForEachItem("windows", [&](const nlohmann::json& item, const std::string& path) {
    windows.push_back(ReadProgramWindow(item, path, default_process++));
  });
}

void ReadDisplay(ObjectReader& reader, DisplaySetup& display) {
  if (auto bits = reader.OptionalInteger("bits_per_pixel", 1, 32)) {
    if (!IsDisplayDepth(*bits)) {
      throw SectionError(reader.FieldPath("bits_per_pixel") +
                         ": expected 1, 4, 8, 15, 16, 24 or 32");
    }
    display.bits = static_cast<int>(*bits);
  }
  display.change_result =
      static_cast<int>(reader
                           .OptionalInteger("change_result", std::numeric_limits<int>::min(),
                                            std::numeric_limits<int>::max())
                           .value_or(platform::kDisplayChangeSuccessful));
}

void ReadScreen(ObjectReader& reader, ScreenSize& screen) {
  // Bounded so that a picture of the screen always fits in memory.
  screen.width = static_cast<int>(reader.OptionalInteger("width", 160, 4096).value_or(640));
  screen.height = static_cast<int>(reader.OptionalInteger("height", 120, 4096).value_or(480));
}

}  // namespace

bool IsDisplayDepth(std::int64_t bits) {
  constexpr std::array<std::int64_t, 7> kDepths{1, 4, 8, 15, 16, 24, 32};
  return std::find(kDepths.begin(), kDepths.end(), bits) != kDepths.end();
}

Parsed<std::vector<ProgramWindow>> ParseDesktopSection(const nlohmann::json& section) {
  return ParseObjectSection<std::vector<ProgramWindow>>(section, "desktop", ReadDesktop);
}

Parsed<DisplaySetup> ParseDisplaySection(const nlohmann::json& section) {
  // The machine's own description of the display shares the section.
  return ParseObjectSection<DisplaySetup>(section, "display", ReadDisplay, OtherFields::kAllowed);
}

Parsed<ScreenSize> ParseScreenSection(const nlohmann::json& section) {
  return ParseObjectSection<ScreenSize>(section, "screen", ReadScreen);
}

}  // namespace qv::sim
