#include "sim/open_files.h"

#include <sys/stat.h>

namespace qv::sim {

namespace fs = std::filesystem;

OpenFiles::Token::Token(std::shared_ptr<Counts> counts, Key key)
    : counts_(std::move(counts)), key_(key) {
  ++(*counts_)[key_];
}

OpenFiles::Token& OpenFiles::Token::operator=(Token&& other) noexcept {
  if (this != &other) {
    Release();
    counts_ = std::move(other.counts_);
    key_ = other.key_;
  }
  return *this;
}

void OpenFiles::Token::Release() {
  if (!counts_) return;
  if (--(*counts_)[key_] == 0) counts_->erase(key_);
  counts_.reset();
}

bool OpenFiles::InUse(const fs::path& host) const {
  if (counts_->empty()) return false;
  const auto held = [this](const struct stat& info) {
    return counts_->count({info.st_dev, info.st_ino}) > 0;
  };
  struct stat info;
  if (::lstat(host.c_str(), &info) != 0) return false;
  if (held(info)) return true;
  if (!S_ISDIR(info.st_mode)) return false;
  std::error_code error;
  for (fs::recursive_directory_iterator it(host, error), end; !error && it != end;
       it.increment(error)) {
    if (::lstat(it->path().c_str(), &info) == 0 && held(info)) return true;
  }
  return false;
}

}  // namespace qv::sim
