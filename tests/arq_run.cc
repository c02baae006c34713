#include "tests/arq_run.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "sim/host_io.h"

namespace qv::arq_test {

namespace fs = std::filesystem;

ArqFolder::ArqFolder() {
  dir_ = sim::MakeTemporaryFolder("arq-test");
}

ArqFolder::~ArqFolder() {
  std::error_code error;
  fs::remove_all(dir_, error);
}

void ArqFolder::Write(const std::string& name, const std::string& bytes) const {
  fs::create_directories((dir_ / name).parent_path());
  std::ofstream(dir_ / name, std::ios::binary) << bytes;
}

std::string ArqFolder::Read(const std::string& name) const {
  std::ifstream file(dir_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

ArqResult ArqFolder::Arq(const std::string& arguments) const {
  const std::string err = Path(".stderr");
  const std::string command =
      "cd '" + dir_.string() + "' && " + QV_ARQ + " " + arguments + " </dev/null 2>'" + err + "'";
  ArqResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 512> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    result.out += buffer.data();
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = Read(".stderr");
  fs::remove(err);
  return result;
}

}  // namespace qv::arq_test
