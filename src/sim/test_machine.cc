#include "sim/test_machine.h"

#include <fstream>
#include <sstream>

#include "sim/host_io.h"

namespace qv::sim {

namespace fs = std::filesystem;

TestMachine::TestMachine(const NewMachineOptions& options) {
  parent_ = MakeTemporaryFolder("qvsim-test");
  folder_ = parent_ / "machine";
  WriteNewMachine(folder_, options);
  Open();
}

TestMachine::~TestMachine() {
  machine_.reset();
  std::error_code error;
  fs::remove_all(parent_, error);
}

Machine& TestMachine::Open(MachineOptions options) {
  machine_.reset();
  machine_ = std::make_unique<Machine>(folder_, options);
  return *machine_;
}

fs::path TestMachine::Host(std::string_view relative, char drive) const {
  return folder_ / "drives" / std::string(1, drive) / relative;
}

std::string TestMachine::ReadHost(std::string_view relative, char drive) const {
  std::ifstream in(Host(relative, drive), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void TestMachine::WriteHost(std::string_view relative, std::string_view bytes, char drive) const {
  const fs::path file = Host(relative, drive);
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> TestMachine::BoxTexts() {
  std::vector<std::string> texts;
  for (const auto& event : machine_->journal().events()) {
    if (event["event"] == "box") texts.push_back(event["text"].get<std::string>());
  }
  return texts;
}

}  // namespace qv::sim
