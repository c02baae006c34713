// The loader's side of the archive library: expands an upgrade archive into
// the staging tree below \scope\upgrade on the current drive, each member
// into its stored folders, and shows in a status box which member is being
// extracted and how far it is. An expansion that did not go through whole
// says why, so that its package is never installed.
#pragma once

#include <string>
#include <string_view>

#include "app/subsystems.h"
#include "upgrade/progress_text.h"

namespace qv::upgrade {

struct ExpansionResult {
  // 1 expanded; 0 the archive check failed (a warning box said why);
  // negative: the library's status (the archive did not open, or a member
  // failed).
  int result = 1;
  // Why it failed, one line ending in a line feed: the path, " : " and the
  // library's message.
  std::string failure;
};

// Runs the library's calls in the loader's order: init, callback, check,
// open read-only with stored folders kept, select every member for
// \scope\upgrade, process, close, callback removed. The progress text
// carries over from an earlier expansion.
ExpansionResult ExpandArchive(const app::Services& services, ProgressText& progress,
                              std::string_view archive_path);

}  // namespace qv::upgrade
