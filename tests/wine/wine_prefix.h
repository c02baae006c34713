// A fresh Wine prefix for one run of the tests: headless (the null graphics
// driver), owned by an unprivileged user (the tests' own, or qvwine when
// they run as root: as root Wine lets read-only files be overwritten), and
// removed with its background processes afterwards.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/arq_run.h"

namespace qv::wine_test {

class WinePrefix {
 public:
  // Why Wine cannot run here (no wine, no user for it), or nothing.
  static std::optional<std::string> Unavailable();

  // Makes the prefix; throws std::runtime_error when Wine fails to.
  WinePrefix();
  ~WinePrefix();
  WinePrefix(const WinePrefix&) = delete;
  WinePrefix& operator=(const WinePrefix&) = delete;

  // Runs a Windows program with the arguments (a shell command line) in a
  // host folder, which (with everything in it) the prefix's user is made to
  // own first; stdin is not a terminal.
  arq_test::ArqResult Run(const std::filesystem::path& folder, const std::filesystem::path& program,
                          const std::string& arguments) const;

  // The host folder that is the prefix's drive C:.
  std::filesystem::path DriveC() const { return home_ / "prefix" / "drive_c"; }
  // Makes a host folder (in the prefix's home) the drive with that letter,
  // or takes the drive away.
  void MapDrive(char letter, const std::filesystem::path& folder) const;
  void UnmapDrive(char letter) const;

 private:
  // Makes the prefix in a fresh folder; false, with Wine's messages, when
  // Wine fails to.
  bool TryToMake(std::string& messages);
  // The shell command that runs `command` as the prefix's user with its
  // environment.
  std::string AsWineUser(const std::string& command) const;
  // Gives the prefix's user a host folder and everything in it.
  void HandOver(const std::filesystem::path& folder) const;

  std::filesystem::path home_;
};

// The prefix of this run of the tests, made at the first call and removed
// when the program ends.
const WinePrefix& TheWinePrefix();

}  // namespace qv::wine_test
