#include "instrument/config_sys.h"

#include <array>
#include <string>

#include "instrument/text_lines.h"

namespace qv::instrument {
namespace {

// Whether a Ctrl-Z stands before the file's last byte. Text mode stops
// reading there, so lines appended behind it would never be read: every
// boot would append them and restart again.
bool HidesAppendedLines(platform::Files& files) {
  platform::Result<platform::Stream> config = files.Open(kConfigSys, "rb");
  if (!config) return false;
  std::string bytes;
  std::array<std::uint8_t, 4096> block{};
  while (const std::size_t got = config->Read(block))
    bytes.append(block.begin(), block.begin() + got);
  config->Close();
  const std::size_t stop = bytes.find('\x1A');
  return stop != std::string::npos && stop + 1 < bytes.size();
}

}  // namespace

RamDriveLines ReadRamDriveLines(platform::Files& files) {
  RamDriveLines lines;
  platform::Result<platform::Stream> config = files.Open(kConfigSys, "rt");
  if (!config) return lines;
  // A read that does not start a line is the rest of a longer one, which no
  // piece of can stand for a line of its own.
  bool starts_line = true;
  while (const std::optional<LineRead> read = ReadLine(*config)) {
    if (starts_line && read->ended_by_line_feed) {
      const std::string line = read->text + '\n';
      lines.himem = lines.himem || line == kHimemLine;
      lines.ramdrive = lines.ramdrive || line == kRamDriveLine;
    }
    starts_line = read->ended_by_line_feed;
  }
  lines.ends_in_open_line = !starts_line;
  config->Close();
  return lines;
}

bool SetUpRamDriveLines(platform::Files& files) {
  files.SetWritable(kConfigSys, true);
  const RamDriveLines lines = ReadRamDriveLines(files);
  if (lines.Complete() || HidesAppendedLines(files)) return false;
  // "a+" drops a Ctrl-Z that ends the file, behind which the lines would
  // never be read.
  platform::Result<platform::Stream> config = files.Open(kConfigSys, "a+t");
  if (!config) return false;
  std::string appended;
  // Joined to an open last line, the first line would spoil both.
  if (lines.ends_in_open_line) appended += '\n';
  if (!lines.himem) appended += kHimemLine;
  if (!lines.ramdrive) appended += kRamDriveLine;
  const bool written = config->Write(appended) == appended.size();
  return config->Close() && written;
}

}  // namespace qv::instrument
