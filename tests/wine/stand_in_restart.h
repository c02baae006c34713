// The System port as the loader under Wine meets it: a reboot request is
// answered by the test set-up instead of Wine, whose restart would end every
// process of the prefix (the helper with them). The request is accepted, as
// the simulated instrument accepts it, and recorded as a line "reboot" in the
// log of started programs, so that its place among the starts is compared.
// Sleeps take a tenth of their time: they only pace the screens, and the
// upgrade and RAM-drive boots would wait half a minute each.
#pragma once

#include "platform/platform_wrapper.h"

namespace qv::wine_test {

class StandInRestart : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;

  bool RequestReboot() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace qv::wine_test
