#include "instrument/startup_entries.h"

#include "instrument/file_removal.h"
#include "instrument/text_lines.h"

namespace qv::instrument {
namespace {

constexpr std::size_t kCommandLength = 63;
constexpr std::size_t kKeyLength = 254;

// A read cut at its first line feed; empty at the end of the file.
std::string ReadCut(platform::Stream& stream, std::size_t length) {
  std::string text = stream.GetLine(length).value_or(std::string());
  return text.substr(0, text.find('\n'));
}

}  // namespace

void AddAutoexecEntry(platform::Files& files) {
  files.ChangeFolder("c:\\");
  files.SetWritable("autoexec.bat", true);
  // Whether the file ends in the middle of a line, which the entry must
  // not be glued to.
  bool open_line = false;
  if (platform::Result<platform::Stream> autoexec = files.Open("autoexec.bat", "r")) {
    while (std::optional<LineRead> line = ReadLine(*autoexec)) {
      // The last line counts too even without its line feed: it is where
      // an earlier entry stands, and a second one would run into it.
      if (line->text.find("cpdll") != std::string::npos) return;
      open_line = !line->ended_by_line_feed;
    }
  }
  platform::Result<platform::Stream> autoexec = files.Open("autoexec.bat", "a");
  if (!autoexec) return;
  if (open_line) autoexec->Write("\n");
  autoexec->Write(kAutoexecEntry);
  autoexec->Close();
}

void RegisterDeferredInstaller(platform::Platform platform, app::ProcessState& process) {
  platform::Files& files = platform.files;
  if (!files.Access(kDeferredInstallerFile, platform::AccessCheck::kExists)) return;
  platform::Result<platform::Stream> request = files.Open(kDeferredInstallerFile, "r");
  if (!request) {
    RemoveWithWritePermission(files, kDeferredInstallerFile);
    return;
  }
  const std::string command = ReadCut(*request, kCommandLength);
  const std::string done_key = ReadCut(*request, kKeyLength);
  if (!platform.registry.OpenKey(done_key) && platform.registry.CreateKey(kRunOnceKey)) {
    // The data is the text without a terminating zero.
    platform.registry.SetValue(kRunOnceKey, kRunOnceValue,
                               platform::RegistryValue::String(command, false));
    process.restart = true;
  }
  request->Close();
  RemoveWithWritePermission(files, kDeferredInstallerFile);
}

}  // namespace qv::instrument
