#include "sim/host_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <string>

namespace qv::sim {
namespace {

class HostMutex : public platform::MutexHandle {
 public:
  explicit HostMutex(int fd) : fd_(fd) {}
  ~HostMutex() override { ::close(fd_); }

 private:
  int fd_;
};

// A file name for any mutex name: letters, digits, '-', '_' and '.' stay,
// other bytes become %XX.
std::string FileNameFor(std::string_view name) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string file = "mutex-";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '_' || (c == '.' && file.size() > 6)) {
      file.push_back(c);
    } else {
      file += {'%', kDigits[byte >> 4], kDigits[byte & 15]};
    }
  }
  return file + ".lock";
}

}  // namespace

MutexOpened OpenHostMutex(const std::filesystem::path& state_folder, std::string_view name) {
  const std::filesystem::path file = state_folder / FileNameFor(name);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return {};
  const bool alone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (::flock(fd, LOCK_SH) != 0) {
    ::close(fd);
    return {};
  }
  return {std::make_unique<HostMutex>(fd), !alone};
}

}  // namespace qv::sim
