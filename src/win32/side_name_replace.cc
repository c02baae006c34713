#include "win32/side_name_replace.h"

namespace qv::win32 {

using platform::AccessCheck;
using platform::Outcome;

namespace {}  // namespace

std::string SideNameOf(std::string_view target) {
  return std::string(target) + "~";
}

Outcome RepairSideName(platform::Files& files, std::string_view target) {
  const std::string side = SideNameOf(target);
  if (!Exists(files, side)) return {};
  if (Exists(files, target)) return files.Remove(side);
  return files.Rename(side, target);
}

Outcome ReplaceThroughSideName(platform::Files& files, std::string_view from, std::string_view to) {
  if (const Outcome repaired = RepairSideName(files, to); !repaired) return repaired;
  if (!Exists(files, from)) return files.Rename(from, to);  // the system's own failure
  const platform::Result<platform::AttributeWord> target = files.GetAttributes(to);
  if (!target) return files.Rename(from, to);
  // As MoveFileExA: a read-only file is not replaced.
  if (*target & platform::attribute::kReadOnly) {
    return platform::Failure::System(platform::WinError::kAccessDenied);
  }
  const std::string side = SideNameOf(to);
  if (const Outcome aside = files.Rename(to, side); !aside) return aside;
  if (const Outcome placed = files.Rename(from, to); !placed) {
    files.Rename(side, to);
    return placed;
  }
  // The replace has happened; a side name left here goes with the next one.
  files.Remove(side);
  return {};
}

}  // namespace qv::win32
