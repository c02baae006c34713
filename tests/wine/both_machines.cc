#include "tests/wine/both_machines.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

#include "detector/ignore_list.h"
#include "sim/registry_json.h"
#include "tests/arq_run.h"
#include "tests/wine/helper_text.h"
#include "tests/wine/wine_error_texts.h"
#include "tests/wine/wine_prefix.h"

namespace qv::wine_test {
namespace {

namespace fs = std::filesystem;

// The single-instance mutex of the loader.
constexpr const char* kInstanceMutex = "Vornkey";
constexpr const char* kUpgradeLog = "C:/scope/bin/upgrade.log";

// Wine's own folders of drive C:, which the simulated instrument lacks.
bool WineOwn(const fs::path& relative) {
  const std::string top = relative.begin()->string();
  return top == "windows" || top == "users" || top == "ProgramData" ||
         top.rfind("Program Files", 0) == 0;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The upgrade log's times are the clock's: the simulator's is fixed, Wine's
// the host's.
std::string WithoutTimes(const std::string& log) {
  static const std::regex kTime(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})");
  return std::regex_replace(log, kTime, "(time)");
}

// Every file below a drive's folder, by "D:/path"; programs by name only.
void AddFilesOf(const fs::path& root, char drive, std::map<std::string, std::string>& files) {
  if (!fs::is_directory(root)) return;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const fs::path relative = entry.path().lexically_relative(root);
    if (WineOwn(relative) || !entry.is_regular_file()) continue;
    const std::string name = std::string(1, drive) + ":/" + relative.generic_string();
    std::string bytes =
        relative.extension() == ".exe" ? std::string("(a program)") : Read(entry.path());
    if (name == kUpgradeLog) bytes = WithoutTimes(bytes);
    if ((entry.status().permissions() & fs::perms::owner_write) == fs::perms::none)
      bytes += " (read-only)";
    files[name] = bytes;
  }
}

// "PROGRAM|COMMAND LINE|FOLDER" with the program's and the folder's names
// upper-cased: the simulator records the names it resolved ("C:\..."),
// Windows the program's as the loader gave it ("c:\..."); DOS names are the
// same in either case. The command line is compared byte for byte.
std::string Started(std::string line) {
  const std::size_t program_end = line.find('|');
  const std::size_t folder_start = line.rfind('|');
  if (program_end == std::string::npos) return line;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (i < program_end || i > folder_start) {
      line[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
    }
  }
  return line;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool StartsWith(const std::string& line, const char* start) {
  return line.rfind(start, 0) == 0;
}

// The loader's registry values on the simulator, as the helper prints them.
std::vector<std::string> SimulatedRegistry(const fs::path& machine) {
  std::vector<std::string> lines;
  for (const sim::RegistryKey& key : sim::ParseRegistry(Read(machine / "registry.json"))) {
    if (!StartsWith(key.path, std::string(detector::kLoaderKey).c_str())) continue;
    for (const sim::RegistryEntry& entry : key.values) {
      std::string line = "value " + Shown(key.path + "\\" + entry.name) + " ";
      if (const std::optional<std::uint32_t> number = entry.value.AsDword()) {
        line += "dword " + std::to_string(*number);
      } else {
        line += "sz " + Shown(entry.value.AsText());
      }
      lines.push_back(line);
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Whether c:\config.sys asks the system for the RAM drive: both lines, whole.
bool AsksForRamDrive(const fs::path& drive_c) {
  const std::vector<std::string> lines = Lines(Read(drive_c / "config.sys"));
  const auto has = [&](const char* line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  return has("device=c:\\windows\\himem.sys") && has("device=c:\\windows\\ramdrive.sys 16384 /E");
}

}  // namespace

BothMachines::BothMachines() = default;

BothMachines::~BothMachines() {
  const WinePrefix& prefix = TheWinePrefix();
  const fs::path wine_c = prefix.DriveC();
  for (const fs::directory_entry& entry : fs::directory_iterator(wine_c)) {
    if (!WineOwn(entry.path().lexically_relative(wine_c))) fs::remove_all(entry.path());
  }
  prefix.UnmapDrive('D');
}

void BothMachines::AddWindow(const ProgramWindow& window) {
  windows_.push_back(window);
  scenario_.EditConfig([&](nlohmann::ordered_json& json) {
    json["desktop"]["windows"].push_back(
        {{"title", window.title}, {"class", window.class_name}, {"visible", window.visible}});
  });
}

void BothMachines::CopyDriveC() {
  const fs::path sim_c = scenario_.machine().folder() / "drives" / "C";
  const fs::path wine_c = TheWinePrefix().DriveC();
  for (const fs::directory_entry& entry : fs::directory_iterator(sim_c)) {
    fs::copy(entry.path(), wine_c / entry.path().filename(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  for (const char* program : {"qv7311x.exe", "qv7314x.exe", "preldr.exe"}) {
    if (!fs::exists(sim_c / "scope" / "bin" / program)) continue;
    fs::copy_file(QV_WIN64_STAND_IN, wine_c / "scope" / "bin" / program,
                  fs::copy_options::overwrite_existing);
  }
  fs::copy_file(QV_WIN64_LOADER, wine_c / "scope" / "bin" / "qv731Ldr.exe",
                fs::copy_options::overwrite_existing);
}

BothBoots BothMachines::Boot(const std::string& arguments, const Person& person) {
  const bool first = !copied_;
  if (first) CopyDriveC();
  copied_ = true;
  BothBoots boots;
  boots.simulated = BootSimulated(arguments, person);
  boots.wine = BootWine(arguments, person, first);
  return boots;
}

BootRecord BothMachines::BootSimulated(const std::string& arguments, const Person& person) {
  scenario_.EditConfig([&](nlohmann::ordered_json& json) {
    json["operator"]["dialogs"] = nlohmann::ordered_json::array();
    for (const auto& [title, button] : person.dialog_answers)
      json["operator"]["dialogs"].push_back({{"text", title + "Proc"}, {"press", button}});
  });
  {
    sim::Machine other(scenario_.machine().folder());
    const auto held = person.instance_running
                          ? other.platform().system.CreateNamedMutex(kInstanceMutex)
                          : nullptr;
    scenario_.Boot(arguments);
  }
  BootRecord record;
  std::vector<std::string> captions;
  std::vector<std::string> presses;
  for (const nlohmann::ordered_json& event : scenario_.events()) {
    const std::string kind = event["event"];
    if (kind == "start") {
      record.events.push_back(Started(event["program"].get<std::string>() + "|" +
                                      event["cmdline"].get<std::string>() + "|" +
                                      event["cwd"].get<std::string>()));
    }
    if (kind == "reboot" && event.value("accepted", false)) record.events.push_back("reboot");
    if (kind == "box") {
      static const std::map<std::string, std::string> kButtons = {
          {"ok", "OK"}, {"yes", "Yes"}, {"no", "No"}};
      record.boxes.push_back("box " + Shown(event["caption"].get<std::string>()) + " " +
                             Shown(event["text"].get<std::string>()) + " -> " +
                             Shown(kButtons.at(event["answer"].get<std::string>())));
    }
    if (kind == "window" && event["window"] == "choice" && event["op"] == "caption")
      captions.push_back(event["text"]);
    if (kind == "press") presses.push_back(event["button"]);
    if (kind == "exit") record.exit = "exit " + event["code"].dump();
  }
  // Each dialog is answered before the next opens in these scenarios.
  for (std::size_t i = 0; i < captions.size(); ++i) {
    record.dialogs.push_back("dialog " + Shown(captions[i]) + " -> " +
                             (i < presses.size() ? Shown(presses[i]) : std::string("nothing")));
  }
  record.closes = scenario_.Story("close");
  const fs::path drives = scenario_.machine().folder() / "drives";
  AddFilesOf(drives / "C", 'C', record.files);
  AddFilesOf(drives / "D", 'D', record.files);
  record.registry = SimulatedRegistry(scenario_.machine().folder());
  return record;
}

BootRecord BothMachines::BootWine(const std::string& arguments, const Person& person, bool first) {
  const WinePrefix& prefix = TheWinePrefix();
  const fs::path wine_c = prefix.DriveC();
  const fs::path ram_drive = wine_c.parent_path().parent_path() / "ram-drive";
  fs::remove_all(ram_drive);
  prefix.UnmapDrive('D');
  if (AsksForRamDrive(wine_c)) {
    fs::create_directory(ram_drive);
    prefix.MapDrive('D', ram_drive);
  }

  std::string helper_arguments = "'C:\\started.txt' 'C:\\scope\\bin\\qv731Ldr.exe' 'C:\\' '" +
                                 arguments + "' 'registry:" + std::string(detector::kLoaderKey) +
                                 "'";
  // A scenario's first boot does not find what earlier ones left in the
  // shared prefix's registry.
  if (first) helper_arguments += " 'forget:" + std::string(detector::kLoaderKey) + "'";
  if (person.instance_running) helper_arguments += std::string(" 'hold:") + kInstanceMutex + "'";
  for (const ProgramWindow& window : windows_) {
    helper_arguments += std::string(" '") + (window.visible ? "window:" : "hidden:") +
                        window.class_name + ":" + window.title + "'";
  }
  for (const auto& [title, button] : person.dialog_answers)
    helper_arguments += " 'press:" + title + "Proc:" + button + "'";

  arq_test::ArqFolder folder;
  const arq_test::ArqResult run =
      prefix.Run(folder.path(), QV_WIN64_LOADER_HELPER, helper_arguments);
  BootRecord record;
  record.exit = run.exit_code == 0 ? "" : "helper failed: " + run.err;
  for (const std::string& line : Lines(run.out)) {
    if (StartsWith(line, "box ")) record.boxes.push_back(AsOnTheSystem(line));
    if (StartsWith(line, "dialog ")) record.dialogs.push_back(line);
    if (StartsWith(line, "close ")) record.closes.push_back(line);
    if (StartsWith(line, "value ")) record.registry.push_back(line);
    if (StartsWith(line, "exit ")) record.exit = line;
  }
  std::sort(record.registry.begin(), record.registry.end());
  for (const std::string& line : Lines(Read(wine_c / "started.txt")))
    record.events.push_back(Started(line));
  fs::remove(wine_c / "started.txt");
  AddFilesOf(wine_c, 'C', record.files);
  AddFilesOf(ram_drive, 'D', record.files);
  return record;
}

}  // namespace qv::wine_test
