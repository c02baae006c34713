// Extracting one member that an extract entry selected: the target path, the
// callback's say (event 44), the rules for existing and read-only targets
// and for encrypted members, the target's folders, the temporary file
// through which every member is written, and putting it in the target's
// place with the member's read-only attribute and time.
//
// The target is never written directly: the member is expanded into a
// temporary file in the target's folder, which replaces the target in one
// step only when the member expanded whole and its CRC matched. A member
// whose name would leave the destination folder (a drive, a rooted name, a
// ".." name) or name a device (CON, NUL, COM1, ...), or whose target path is
// longer than 268 characters, is passed over with event -15, "Unable to
// create file". A target the callback changes at event 44 is used at once,
// under the same checks: it must stay below the destination.
#pragma once

#include "archive/library_state.h"

namespace qv::archive {

struct ExtractionOutcome {
  bool failed = false;    // the expansion failed: the walk ends with -1
  bool consumed = false;  // a continued member's data were read through
};

class MemberExtraction {
 public:
  MemberExtraction(LibraryState& state, MemberRecord& record) : state_(state), record_(record) {}

  // Extracts the member whose header the record holds (its name as read) and
  // whose data begin at the archive's position.
  ExtractionOutcome Extract(const SelectionEntry& entry);

 private:
  // Whether the existing-target rules let the member be written.
  bool MayWriteTarget(const std::string& target);
  void MakeFolders(const std::string& target);
  // Gives the expanded file the target's name, attribute and times.
  void PutInPlace(const std::string& temporary, const std::string& target);

  LibraryState& state_;
  MemberRecord& record_;
};

}  // namespace qv::archive
