#include "sim/host_io.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qv::sim {

std::filesystem::path MakeTemporaryFolder(std::string_view prefix) {
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  std::string pattern = (temporary / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("no new folder in " + temporary.string());
  }
  return std::filesystem::canonical(pattern);
}

// The two are exchanged in one step and the replaced file is removed after.
// A rename that replaces a file would do as much in one call, but hosts such
// as ext4 then write the new file's data out at once, which made every
// replacing extraction wait for the disk. Where the host cannot exchange, it
// is that rename.
bool ReplaceHostFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view contents) {
  const std::filesystem::path temporary = file.string() + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error(file.string() + ": cannot be written");
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool written = done == contents.size();
  ::close(fd);
  std::error_code error;
  if (!written) {
    std::filesystem::remove(temporary, error);
    throw std::runtime_error(file.string() + ": cannot be written");
  }
  std::filesystem::rename(temporary, file, error);
  if (error) throw std::runtime_error(file.string() + ": cannot be replaced");
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

}  // namespace qv::sim
