// What a machine's window system shows, as the boot's observer sees it:
// every event goes into the machine's journal, stamped with the machine's
// virtual time; a picture of the screen is taken whenever a message box
// waits for an answer, when a status box shows its first progress (its
// first new text after its caption was set: the first member extracted,
// the first file copied), and when the loader is left waiting in its
// message loop, which the journal records before the simulated person
// closes the main window.
#pragma once

#include <set>

#include "sim/desktop/desktop_events.h"
#include "sim/journal.h"
#include "sim/screen_pictures.h"
#include "sim/virtual_clock.h"

namespace qv::sim {

// The event as a journal entry: its name and its fields.
void RecordDesktopEvent(Journal& journal, const DesktopEvent& event);

class BootObserver final : public DesktopObserver, public TimeSource {
 public:
  BootObserver(const VirtualClock& clock, Journal& journal, ScreenPictures& pictures)
      : clock_(clock), journal_(journal), pictures_(pictures) {}

  std::int64_t NowMs() const override { return static_cast<std::int64_t>(clock_.ElapsedMs()); }

  void Record(const DesktopEvent& event) override;
  void BoxWaiting(SimDesktop& desktop) override { pictures_.Take(desktop); }
  void DialogTextChanged(SimDesktop& desktop, platform::WindowHandle dialog) override;
  void LoaderIdle(SimDesktop& desktop) override;

  // Whether the loader was left waiting in its message loop (its last
  // picture is then already taken).
  bool left_waiting() const { return left_waiting_; }

 private:
  const VirtualClock& clock_;
  Journal& journal_;
  ScreenPictures& pictures_;
  bool left_waiting_ = false;
  // Status boxes captioned that have shown no progress yet.
  std::set<platform::WindowHandle> awaiting_progress_;
};

}  // namespace qv::sim
