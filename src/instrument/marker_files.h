// The small files that steer the loader from outside: the service and
// internal markers on a floppy disk in drive A:, which choose the scope
// application's mode, and the printer marker on drive C:, which asks for
// the Add Printer wizard at the next boot. Every check leaves the current
// drive as it found it.
#pragma once

#include <string_view>

#include "app/subsystems.h"

namespace qv::instrument {

inline constexpr std::string_view kServiceMarker = "qv731xx.svc";
inline constexpr std::string_view kInternalMarker = "qv731xx.int";
inline constexpr std::string_view kPrinterMarker = "\\scope\\bin\\addpntr.txt";

// True when the marker in the current folder of drive A: is valid: its
// size from the folder search equals the 16-bit little-endian number at
// byte 10. Otherwise draws why at (10, 10): "findfirst failed\n" (no such
// file, or drive A: cannot be made current), "fopen failed\n" or
// "Length Failed\n" (a file shorter than 12 bytes too).
bool FloppyMarkerValid(platform::Files& files, app::UserHelpers& helpers, std::string_view name);

// True when c:\scope\bin\addpntr.txt exists; else draws "findfirst
// failed\n" at (10, 10).
bool PrinterMarkerExists(platform::Files& files, app::UserHelpers& helpers);
// Deletes it, read-only or not: true when it is gone. A marker that
// cannot be deleted shows the system's error box and gives false: acted on,
// it would ask again (and reboot) at every boot.
bool TakePrinterMarker(platform::Files& files, app::UserHelpers& helpers);

class Markers final : public app::Markers {
 public:
  // The services must outlive the part.
  explicit Markers(const app::Services& services) : services_(services) {}

  bool ServiceMarkerValid() override;
  bool InternalMarkerValid() override;
  bool PrinterMarkerPresent() override;
  // See TakePrinterMarker.
  bool DeletePrinterMarker() override;
  bool LaunchAddPrinter() override;

 private:
  const app::Services& services_;
};

}  // namespace qv::instrument
