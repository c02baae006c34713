#include "app/application.h"

#include "app/main_sequence.h"
#include "app/switches.h"

namespace qv::app {

Application::Application(platform::Platform platform, const SubsystemBuilder& build)
    : platform_(platform),
      helpers_(platform, main_window_),
      services_{platform, process_, helpers_},
      parts_(build(services_)),
      identification_(platform.board, main_window_, helpers_) {}

int Application::Run() {
  StartUp();
  while (platform_.desktop.PumpMessage()) {
  }
  return 0;  // the quit message that ends the loop carries 0
}

void Application::StartUp() {
  platform::Desktop& desktop = platform_.desktop;
  desktop.SetApplicationName(ApplicationName(platform_.system.ModuleFileName()));
  main_window_.Create(desktop, [this] { RunMainSequence(); });
  desktop.ShowWindow(main_window_.handle(), platform::ShowCommand::kShowMinNoActive);
  desktop.UpdateWindow(main_window_.handle());
  // The framework's command line is a C string: it ends at a zero byte.
  const std::string given = platform_.system.CommandLine();
  command_line_ = given.c_str();
  process_.switches = MatchSwitches(command_line_, platform_.system.ActiveCodePage());
  desktop.SendWindowMessage(main_window_.handle(), kRunMainSequence, 0, 0);
}

void Application::RunMainSequence() {
  MainSequence(services_, main_window_, parts_, identification_).Run();
}

std::string ApplicationName(std::string_view module_file) {
  const std::size_t folder_end = module_file.find_last_of("\\/:");
  std::string_view name =
      folder_end == std::string_view::npos ? module_file : module_file.substr(folder_end + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace qv::app
