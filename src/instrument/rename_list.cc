#include "instrument/rename_list.h"

#include "instrument/text_lines.h"
#include "upgrade/upgrade_log.h"

namespace qv::instrument {
namespace {

struct Rename {
  std::string from;
  std::string to;
};

// The first two words, split at single blanks; nullopt without a second.
std::optional<Rename> ParseRename(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(blank + 1);
  const std::string_view to = rest.substr(0, rest.find(' '));
  if (blank == 0 || to.empty()) return std::nullopt;
  return Rename{std::string(line.substr(0, blank)), std::string(to)};
}

void CarryOut(platform::Platform platform, const Rename& rename) {
  platform::Files& files = platform.files;
  if (!files.Access(rename.from, platform::AccessCheck::kExists)) return;
  const bool read_only =
      (files.GetAttributes(rename.from).value_or(0) & platform::attribute::kReadOnly) != 0;
  if (read_only) files.SetWritable(rename.from, true);
  if (files.Rename(rename.from, rename.to)) {
    if (read_only) files.SetWritable(rename.to, false);
    return;
  }
  // No upgrade log is open this early in a boot: the error is only shown.
  upgrade::LoggedSystemError(platform, nullptr);
  if (read_only) files.SetWritable(rename.from, false);
}

}  // namespace

bool CarryOutRenameList(platform::Platform platform, std::string_view path) {
  platform::Result<platform::Stream> list = platform.files.Open(path, "r");
  if (!list) return false;
  LineReader lines(*list);
  while (std::optional<LineRead> line = lines.Next()) {
    // The first piece of a line longer than a read is not a line.
    if (!line->IsLine()) continue;
    if (!line->text.empty() && line->text.front() == '\\') {
      if (!platform.files.ChangeFolder(line->text)) {
        upgrade::LoggedSystemError(platform, nullptr);
        list->Close();
        return false;
      }
      continue;
    }
    if (const std::optional<Rename> rename = ParseRename(line->text)) CarryOut(platform, *rename);
  }
  list->Close();
  return true;
}

}  // namespace qv::instrument
