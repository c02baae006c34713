#include "app/switches.h"

namespace qv::app {

bool MatchSwitch(std::string& text, std::string_view name, platform::CodePage page) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (platform::IsLeadByte(page, byte) && i + 1 < text.size()) {
      i += 2;
      continue;
    }
    if ((byte == '-' || byte == '/') && text.compare(i + 1, name.size(), name) == 0) {
      text.erase(i, 1 + name.size());
      return true;
    }
    ++i;
  }
  return false;
}

SwitchFlags MatchSwitches(std::string& text, platform::CodePage page) {
  SwitchFlags flags;
  bool* const targets[] = {&flags.autostart, &flags.copyfiles, &flags.undo,    &flags.noproc,
                           &flags.clearundo, &flags.internal,  &flags.service, &flags.noram,
                           &flags.asi,       &flags.maint,     &flags.usb};
  static_assert(std::size(targets) == kSwitchNames.size());
  for (std::size_t i = 0; i < kSwitchNames.size(); ++i) {
    *targets[i] = MatchSwitch(text, kSwitchNames[i], page);
  }
  return flags;
}

}  // namespace qv::app
