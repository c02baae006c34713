// One instrument booted on the simulator and, from a copy of its drive C:,
// under Wine, side by side, and what each boot showed and left: the
// programs started and the reboots requested, in order; the boxes and
// dialogs with the buttons pressed; the close requests other programs'
// windows got; the exit code; the files of drives C: and D:; and the
// loader's registry values.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/scenario.h"

namespace qv::wine_test {

struct BootRecord {
  std::string exit;
  // "PROGRAM|COMMAND LINE|FOLDER" with the program and folder in capitals
  // (DOS names), and "reboot".
  std::vector<std::string> events;
  std::vector<std::string> boxes;    // box "CAPTION" "TEXT" -> "BUTTON"
  std::vector<std::string> dialogs;  // dialog "CAPTION" -> "BUTTON"
  std::vector<std::string> closes;   // close "TITLE" (CLASS) -> closed
  // By "C:/path": the bytes, read-only marked, times in the upgrade log
  // masked; programs (stand-ins under Wine) by name only.
  std::map<std::string, std::string> files;
  std::vector<std::string> registry;  // value "KEY\NAME" ..., in name order
};

struct BothBoots {
  BootRecord simulated;
  BootRecord wine;
};

// What the person in front of both instruments does at one boot.
struct Person {
  // Boxes get their first button on both. The button pressed in the choice dialog about each title,
  // at its first sighting.
  std::map<std::string, std::string> dialog_answers;
  // Another copy of the loader holds its mutex.
  bool instance_running = false;
};

// Another program's window on both desktops, topmost first.
struct ProgramWindow {
  std::string title;
  std::string class_name;
  bool visible = true;
};

class BothMachines {
 public:
  BothMachines();
  // Leaves the prefix's drives as Wine made them for the next scenario.
  ~BothMachines();
  BothMachines(const BothMachines&) = delete;
  BothMachines& operator=(const BothMachines&) = delete;

  // The simulated instrument, to prepare before the first boot; its drive
  // C: is copied to Wine's then.
  tests::Scenario& simulated() { return scenario_; }
  void AddWindow(const ProgramWindow& window);

  // Boots both with the loader's command line. The test set-up plays the
  // system's part between boots under Wine: it makes d:\ afresh when
  // c:\config.sys asks for the RAM drive.
  BothBoots Boot(const std::string& arguments, const Person& person = {});

 private:
  void CopyDriveC();
  BootRecord BootSimulated(const std::string& arguments, const Person& person);
  BootRecord BootWine(const std::string& arguments, const Person& person, bool first);

  tests::Scenario scenario_;
  std::vector<ProgramWindow> windows_;
  bool copied_ = false;
};

}  // namespace qv::wine_test
