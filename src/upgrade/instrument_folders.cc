#include "upgrade/instrument_folders.h"

#include <initializer_list>

namespace qv::upgrade {
namespace {

struct FolderGroup {
  const char* parent;
  std::initializer_list<const char*> children;
};

// In the order of creation: a parent exists before its children are made.
const FolderGroup kSkeleton[] = {
    {"c:\\scope",
     {"upgrade", "bin", "data", "cal", "masks", "probes", "setups", "temp", "memories",
      "selftest"}},
    {"c:\\scope\\upgrade", {"scope"}},
    {"c:\\scope\\upgrade\\scope", {"bin", "probes", "masks", "temp"}},
    {"c:\\scope\\upgrade", {"windows"}},
    {"c:\\scope\\upgrade\\windows", {"system"}},
    {"c:\\scope", {"old_rev"}},
    {"c:\\scope\\old_rev", {"scope"}},
    {"c:\\scope\\old_rev\\scope",
     {"bin", "data", "masks", "cal", "setups", "probes", "memories", "selftest", "temp"}},
    {"c:\\scope\\old_rev", {"windows"}},
    {"c:\\scope\\old_rev\\windows", {"system"}},
};

struct FolderAttributes {
  const char* folder;
  bool hide;
};

const FolderAttributes kAttributes[] = {
    {"c:\\scope", false},           {"c:\\scope\\data", false},    {"c:\\scope\\setups", false},
    {"c:\\scope\\masks", false},    {"c:\\scope\\temp", false},    {"c:\\scope\\bin", true},
    {"c:\\scope\\cal", true},       {"c:\\scope\\memories", true}, {"c:\\scope\\probes", true},
    {"c:\\scope\\selftest", false}, {"c:\\scope\\old_rev", true},  {"c:\\scope\\upgrade", true},
};

}  // namespace

bool CreateInstrumentFolders(platform::Files& files) {
  for (const FolderGroup& group : kSkeleton) {
    // Children are made by their relative names inside their parent, so a
    // parent that cannot be entered would put them elsewhere.
    if (!files.ChangeFolder(group.parent)) return false;
    for (const char* child : group.children) {
      if (files.MakeFolder(child).errno_value() == platform::Errno::kENOENT) return false;
    }
  }
  for (const FolderAttributes& entry : kAttributes)
    SetFolderAttributes(files, entry.folder, entry.hide);
  return true;
}

void SetFolderAttributes(platform::Files& files, std::string_view folder, bool hide) {
  const platform::Result<platform::AttributeWord> attributes = files.GetAttributes(folder);
  if (!attributes) return;
  platform::AttributeWord added = platform::attribute::kSystem;
  if (hide) added |= platform::attribute::kHidden;
  files.SetAttributes(folder, *attributes | added);
}

}  // namespace qv::upgrade
