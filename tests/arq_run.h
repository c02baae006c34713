// Running arq as a user runs it, for the tests of whole arq runs: a scratch
// folder per test, the exit code, stdout and stderr.
#pragma once

#include <filesystem>
#include <string>

namespace qv::arq_test {

struct ArqResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// A scratch folder, removed afterwards, in which arq runs.
class ArqFolder {
 public:
  ArqFolder();
  ~ArqFolder();
  ArqFolder(const ArqFolder&) = delete;
  ArqFolder& operator=(const ArqFolder&) = delete;

  const std::filesystem::path& path() const { return dir_; }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Writes a file (its folders made as needed).
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

  // Runs arq with the arguments (a shell command line) in this folder, stdin
  // not a terminal.
  ArqResult Arq(const std::string& arguments) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace qv::arq_test
