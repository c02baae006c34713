// Two repairs around an upgrade: the East-Asian code-page tables registered
// with the system by file name after a continued upgrade, and the LAN
// features request that a package leaves as c:\scope\upgrade\lan\setup.bat
// for the separate installer.
#pragma once

#include "app/subsystems.h"

namespace qv::instrument {

inline constexpr std::string_view kCodePageKey =
    "System\\CurrentControlSet\\Control\\Nls\\Codepage";
inline constexpr std::string_view kLanRequest = "c:\\scope\\upgrade\\lan\\setup.bat";

// Writes "932", "949", "950" and "936" as REG_SZ "cp_NNN.nls" without a
// terminating zero, creating the key for each; a row whose key cannot be
// created is skipped.
void WriteCodePages(platform::Registry& registry);

// True when the LAN request existed and is deleted now. A request that
// cannot be deleted shows the system's error box and gives false: acted on,
// it would start the installer again at every boot.
bool ConsumeLanRequest(platform::Files& files, app::UserHelpers& helpers);

class CodePagesAndLan final : public app::CodePagesAndLan {
 public:
  // The services must outlive the part.
  explicit CodePagesAndLan(const app::Services& services) : services_(services) {}

  void RegisterCodePages() override;
  bool LanFeaturesCheck() override;

 private:
  const app::Services& services_;
};

}  // namespace qv::instrument
