// The window system of a machine: the simulated desktop built from the
// sections "desktop", "operator", "display" and "screen" of machine.json,
// with the fonts that draw its pictures and the operator who answers it (the
// script of the operator section, or the person at the terminal).
#pragma once

#include <iosfwd>
#include <memory>

#include <nlohmann/json.hpp>

#include "sim/desktop/dialog_template.h"
#include "sim/desktop/layout.h"
#include "sim/desktop/operator.h"
#include "sim/desktop/screen_fonts.h"
#include "sim/desktop/sim_desktop.h"

namespace qv::sim {

// Where an interactive operator reads answers and asks questions; none for
// the scripted one.
struct Terminal {
  std::istream& in;
  std::ostream& out;
};

// The DejaVu faces of the screen; throws MachineError when one is missing.
ScreenFonts LoadScreenFonts();

class MachineDesktop {
 public:
  // Throws MachineError naming the section's field that is wrong. The
  // fonts, observer and time must outlive it.
  MachineDesktop(const nlohmann::ordered_json& document, std::uint32_t loader_process,
                 const Terminal* terminal, const ScreenFonts& fonts, DesktopObserver& observer,
                 const TimeSource& time);
  MachineDesktop(const MachineDesktop&) = delete;
  MachineDesktop& operator=(const MachineDesktop&) = delete;

  SimDesktop& desktop() { return desktop_; }

 private:
  const DialogTemplates& templates_;
  Layout layout_;
  std::unique_ptr<Operator> person_;
  SimDesktop desktop_;
};

}  // namespace qv::sim
