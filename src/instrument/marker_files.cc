#include "instrument/marker_files.h"

#include <array>
#include <cstdint>

#include "instrument/file_removal.h"

namespace qv::instrument {
namespace {

constexpr std::string_view kFindFailed = "findfirst failed\n";
constexpr std::string_view kOpenFailed = "fopen failed\n";
constexpr std::string_view kLengthFailed = "Length Failed\n";

// Of a marker only its first 20 bytes are read; the length field is bytes
// 10 and 11.
constexpr std::size_t kMarkerHeadBytes = 20;
constexpr std::size_t kLengthOffset = 10;

void DrawFailure(app::UserHelpers& helpers, std::string_view text) {
  helpers.DrawStatusLine(10, 10, text);
}

// Why the marker in the current folder is not valid; empty when it is.
std::string_view MarkerFault(platform::Files& files, std::string_view name) {
  const platform::Result<std::vector<platform::FindData>> found = files.Find(name);
  if (!found || found->empty()) return kFindFailed;
  platform::Result<platform::Stream> marker = files.Open(name, "rb");
  if (!marker) return kOpenFailed;
  std::array<std::uint8_t, kMarkerHeadBytes> head{};
  const std::size_t read = marker->Read(head);
  marker->Close();
  if (read < kLengthOffset + 2) return kLengthFailed;
  const std::uint64_t length = head[kLengthOffset] | (head[kLengthOffset + 1] << 8);
  return found->front().size == length ? std::string_view() : kLengthFailed;
}

}  // namespace

bool FloppyMarkerValid(platform::Files& files, app::UserHelpers& helpers, std::string_view name) {
  const char remembered = files.CurrentDrive();
  // Searching another drive instead could take a file on the instrument's
  // disk for the floppy's marker.
  if (!files.ChangeDrive('A')) {
    DrawFailure(helpers, kFindFailed);
    return false;
  }
  const std::string_view fault = MarkerFault(files, name);
  files.ChangeDrive(remembered);
  if (!fault.empty()) DrawFailure(helpers, fault);
  return fault.empty();
}

bool PrinterMarkerExists(platform::Files& files, app::UserHelpers& helpers) {
  const char remembered = files.CurrentDrive();
  files.ChangeDrive('C');
  const bool found = files.Find(kPrinterMarker).ok();
  files.ChangeDrive(remembered);
  if (!found) DrawFailure(helpers, kFindFailed);
  return found;
}

bool TakePrinterMarker(platform::Files& files, app::UserHelpers& helpers) {
  const char remembered = files.CurrentDrive();
  files.ChangeDrive('C');
  const bool removed = RemoveWithWritePermission(files, kPrinterMarker).ok();
  // The box must show the deletion's error, not the drive change's.
  if (!removed) helpers.SystemErrorBox();
  files.ChangeDrive(remembered);
  return removed;
}

bool Markers::ServiceMarkerValid() {
  return FloppyMarkerValid(services_.platform.files, services_.helpers, kServiceMarker);
}

bool Markers::InternalMarkerValid() {
  return FloppyMarkerValid(services_.platform.files, services_.helpers, kInternalMarker);
}

bool Markers::PrinterMarkerPresent() {
  return PrinterMarkerExists(services_.platform.files, services_.helpers);
}

bool Markers::DeletePrinterMarker() {
  return TakePrinterMarker(services_.platform.files, services_.helpers);
}

bool Markers::LaunchAddPrinter() {
  return services_.platform.board.LaunchPrinterWizard();
}

}  // namespace qv::instrument
