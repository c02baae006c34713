// The application object: the loader's process from start to end. Its
// start-up creates the main window minimised, matches the eleven switches
// on the command line, and sends the main window the private message that
// runs the main sequence; the message loop runs only when the sequence
// returns, until the main window is closed.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/main_window.h"
#include "app/process_state.h"
#include "app/subsystems.h"
#include "app/user_helpers.h"
#include "instrument/identification.h"
#include "platform/platform.h"

namespace qv::app {

// Makes the loader's parts, given what the loader offers them.
using SubsystemBuilder = std::function<Subsystems(const Services&)>;

class Application {
 public:
  Application(platform::Platform platform, const SubsystemBuilder& build);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up, then the message loop; the exit code when the loop ends. An
  // exit or a program start ends the process inside (through the System
  // port) and does not come back here.
  int Run();

  const ProcessState& process() const { return process_; }
  // The command line as the switch matcher left it.
  const std::string& command_line() const { return command_line_; }

 private:
  void StartUp();
  void RunMainSequence();

  platform::Platform platform_;
  ProcessState process_;
  MainWindow main_window_;
  UserHelpers helpers_;
  Services services_;
  Subsystems parts_;
  instrument::Identification identification_;
  std::string command_line_;
};

// The framework's application name: the program's file name without its
// folder and extension ("qv731Ldr" for C:\scope\bin\qv731Ldr.exe).
std::string ApplicationName(std::string_view module_file);

}  // namespace qv::app
