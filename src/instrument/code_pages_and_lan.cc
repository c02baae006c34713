#include "instrument/code_pages_and_lan.h"

#include <array>

#include "instrument/file_removal.h"

namespace qv::instrument {
namespace {

struct CodePage {
  std::string_view name;
  std::string_view table;
};

constexpr std::array<CodePage, 4> kCodePages = {{
    {"932", "cp_932.nls"},  // Japanese
    {"949", "cp_949.nls"},  // Korean
    {"950", "cp_950.nls"},  // traditional Chinese
    {"936", "cp_936.nls"},  // simplified Chinese
}};

}  // namespace

void WriteCodePages(platform::Registry& registry) {
  for (const CodePage& page : kCodePages) {
    if (!registry.CreateKey(kCodePageKey)) continue;
    registry.SetValue(kCodePageKey, page.name,
                      platform::RegistryValue::String(page.table, /*with_terminator=*/false));
  }
}

bool ConsumeLanRequest(platform::Files& files, app::UserHelpers& helpers) {
  if (!files.Access(kLanRequest, platform::AccessCheck::kExists)) return false;
  if (RemoveWithWritePermission(files, kLanRequest)) return true;
  helpers.SystemErrorBox();
  return false;
}

void CodePagesAndLan::RegisterCodePages() {
  WriteCodePages(services_.platform.registry);
}

bool CodePagesAndLan::LanFeaturesCheck() {
  return ConsumeLanRequest(services_.platform.files, services_.helpers);
}

}  // namespace qv::instrument
