// What the loader keeps for its whole process: the eleven switch flags, set
// once at start-up from the command line, the restart flag that the steps of
// an upgrade set and the main sequence acts on, and the single-instance
// mutex, held until the process ends. One object per process, made afresh
// by whoever runs the loader.
#pragma once

#include <memory>

#include "platform/system.h"

namespace qv::app {

struct SwitchFlags {
  bool autostart = false;
  bool copyfiles = false;
  bool undo = false;  // accepted and cut out; nothing reads it
  bool noproc = false;
  bool clearundo = false;
  bool internal = false;
  bool service = false;
  bool noram = false;
  bool asi = false;
  bool maint = false;
  bool usb = false;

  friend bool operator==(const SwitchFlags&, const SwitchFlags&) = default;
};

struct ProcessState {
  SwitchFlags switches;
  bool restart = false;
  std::unique_ptr<platform::MutexHandle> instance_mutex;
};

}  // namespace qv::app
