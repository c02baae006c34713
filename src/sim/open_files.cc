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
  const auto held = [this](const fs::path& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && counts_->count({info.st_dev, info.st_ino}) > 0;
  };
  if (held(host)) return true;
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(host, error))) return false;
  for (fs::recursive_directory_iterator it(host, error), end; !error && it != end;
       it.increment(error)) {
    if (held(it->path())) return true;
  }
  return false;
}

}  // namespace qv::sim
