#include "tests/wine/wine_prefix.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "sim/host_io.h"

namespace qv::wine_test {

namespace fs = std::filesystem;

namespace {

// The user bootstrap.sh adds for the tests that run as root.
constexpr const char* kWineUser = "qvwine";

bool RunningAsRoot() {
  return ::geteuid() == 0;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command: its exit code and what it printed on stdout.
arq_test::ArqResult Shell(const std::string& command) {
  arq_test::ArqResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 512> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    result.out += buffer.data();
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// What a file holds; empty when there is none.
std::string TextOf(const fs::path& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  std::array<char, 512> buffer;
  std::size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
    text.append(buffer.data(), read);
  std::fclose(file);
  return text;
}

}  // namespace

std::optional<std::string> WinePrefix::Unavailable() {
  if (Shell("command -v wine >/dev/null").exit_code != 0) return "wine is not installed";
  if (RunningAsRoot() && ::getpwnam(kWineUser) == nullptr) {
    return std::string("no user ") + kWineUser + " to run Wine as (scripts/bootstrap.sh adds it)";
  }
  return std::nullopt;
}

WinePrefix::WinePrefix() {
  // Making a prefix failed once in many runs, on a busy host, and not
  // again after: a second try in a fresh folder before giving up, and
  // Wine's messages in the error if that fails too.
  std::string messages;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (TryToMake(messages)) return;
    Shell(AsWineUser("wineserver -k >/dev/null 2>&1"));
    std::error_code error;
    fs::remove_all(home_, error);
  }
  throw std::runtime_error("Wine could not make a prefix: " + messages);
}

bool WinePrefix::TryToMake(std::string& messages) {
  home_ = sim::MakeTemporaryFolder("wine-test");
  HandOver(home_);
  const fs::path log = home_ / "making";
  // The Mono and Gecko installers are not wanted; windows go nowhere. Each
  // step waits for the server's end: the prefix's system DLLs are still
  // being written when wineboot returns, and the desktop process that
  // wineboot started keeps the graphics driver it chose until it ends.
  // A program that crashes ends at once instead of waiting behind a crash
  // dialog that no one answers (until the run's timeout). Then the server
  // stays (-p) with one desktop process for all the runs, and a first
  // program starts the background processes that stay with it (services,
  // the driver host): they keep the standard error of the run that started
  // them, which must be this log and not a test's. A driver host that
  // crashed in a loaded CI run once printed a page fault into the first
  // test's standard error.
  const arq_test::ArqResult made = Shell(AsWineUser(
      "exec 2>" + Quoted(log.string()) +
      " && WINEDLLOVERRIDES='mscoree,mshtml=' wineboot -i >/dev/null && wineserver -w && "
      "wine reg add 'HKCU\\Software\\Wine\\Drivers' /v Graphics /d null /f >/dev/null && "
      "wine reg add 'HKCU\\Software\\Wine\\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f "
      ">/dev/null && wineserver -w && wineserver -p && wine cmd /c exit 0 >/dev/null"));
  if (made.exit_code == 0) return true;
  messages = "exit code " + std::to_string(made.exit_code) + ": " + TextOf(log);
  return false;
}

WinePrefix::~WinePrefix() {
  Shell(AsWineUser("wineserver -k >/dev/null 2>&1"));
  std::error_code error;
  fs::remove_all(home_, error);
}

std::string WinePrefix::AsWineUser(const std::string& command) const {
  const std::string environment = "HOME=" + Quoted(home_.string()) +
                                  " WINEPREFIX=" + Quoted((home_ / "prefix").string()) +
                                  " WINEDEBUG=-all";
  const std::string user = RunningAsRoot() ? std::string("runuser -u ") + kWineUser + " -- " : "";
  return user + "env " + environment + " sh -c " + Quoted(command);
}

void WinePrefix::HandOver(const fs::path& folder) const {
  if (!RunningAsRoot()) return;
  const passwd* user = ::getpwnam(kWineUser);
  if (user == nullptr) throw std::runtime_error(std::string("no user ") + kWineUser);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    ::lchown(entry.path().c_str(), user->pw_uid, user->pw_gid);
  ::lchown(folder.c_str(), user->pw_uid, user->pw_gid);
}

arq_test::ArqResult WinePrefix::Run(const fs::path& folder, const fs::path& program,
                                    const std::string& arguments) const {
  // A copy in the prefix's folder: the user may not reach the build tree.
  const fs::path copy = home_ / program.filename();
  if (!fs::exists(copy)) fs::copy_file(program, copy);
  HandOver(folder);
  HandOver(home_);
  const fs::path err = home_ / "stderr";
  // A program that waits for a window nobody answers ends after two minutes.
  arq_test::ArqResult result = Shell(
      AsWineUser("cd " + Quoted(folder.string()) + " && timeout 120 wine " + Quoted(copy.string()) +
                 " " + arguments + " </dev/null 2>" + Quoted(err.string())));
  result.err = TextOf(err);
  return result;
}

// Wine finds a drive's folder through the link dosdevices/LETTER:.
void WinePrefix::MapDrive(char letter, const fs::path& folder) const {
  const fs::path link =
      home_ / "prefix" / "dosdevices" / (std::string(1, std::tolower(letter)) + ":");
  std::error_code error;
  fs::remove(link, error);
  fs::create_directory_symlink(folder, link);
  HandOver(folder);
}

void WinePrefix::UnmapDrive(char letter) const {
  std::error_code error;
  fs::remove(home_ / "prefix" / "dosdevices" / (std::string(1, std::tolower(letter)) + ":"), error);
}

const WinePrefix& TheWinePrefix() {
  static const WinePrefix prefix;
  return prefix;
}

}  // namespace qv::wine_test
