// The files that streams of this machine hold open. As on the instrument, an
// open file cannot be deleted, renamed or replaced (the run time opens files
// without delete sharing); the host would allow it, so the layer keeps count.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <memory>
#include <utility>

namespace qv::sim {

class OpenFiles {
 public:
  using Key = std::pair<dev_t, ino_t>;
  using Counts = std::map<Key, int>;

  // Held by a stream for as long as its file is open.
  class Token {
   public:
    Token() = default;
    Token(std::shared_ptr<Counts> counts, Key key);
    Token(Token&& other) noexcept { *this = std::move(other); }
    Token& operator=(Token&& other) noexcept;
    ~Token() { Release(); }
    void Release();

   private:
    std::shared_ptr<Counts> counts_;
    Key key_{};
  };

  Token Hold(Key key) { return Token(counts_, key); }
  // True when an open stream holds the host file (or a file below a folder).
  bool InUse(const std::filesystem::path& host) const;

 private:
  std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

}  // namespace qv::sim
