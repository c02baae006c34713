// The files of an upgrade package in the staging folder and the marker
// files beside it, which carry an upgrade's state across boots: the failure
// marker exists while an upgrade is being installed, so a later boot that
// finds it knows the install was interrupted. Also the hand-over to the
// pre-loader when a package replaces the loader itself.
//
// Each operation first makes the staging folder current on the current
// drive; where that folder is missing it does nothing.
#pragma once

#include <optional>

#include "platform/files.h"

namespace qv::upgrade {

// Makes the staging folder current on the current drive: true when it is.
bool EnterStagingFolder(platform::Files& files);

// What the failure marker records of the upgrade it stands for: one
// character for each attempt begun (its number, "1", "2", ...) and "B" once
// the install's backup of cal and setups is complete. A marker left empty
// by an older loader stands for one attempt.
struct FailureMarker {
  int attempts = 0;
  bool backup_saved = false;
};

bool FailureMarkerExists(platform::Files& files);
// The marker's record; nullopt when there is no marker.
std::optional<FailureMarker> ReadFailureMarker(platform::Files& files);
// Records the next attempt, creating the marker when there is none. False
// when it cannot be written: the attempt is then not safe to make.
bool CreateFailureMarker(platform::Files& files);
// Records that the backup is complete, so that no later attempt saves the
// already-installed files over it.
bool NoteBackupSaved(platform::Files& files);
// Leaves the archive and the marker writable and deletes the marker.
bool RemoveFailureMarker(platform::Files& files);
// Leaves the archive writable and deletes the header, so the package is not
// installed again; the archive itself stays. True when no header is left.
bool RemoveUpgradeHeader(platform::Files& files);

// The expanded package brings a new loader (staged as qv731ldr.exe).
bool NewLoaderInPackage(platform::Files& files);

enum class HandOver { kStartPreloader = 1, kFolderMissing = 0, kNoPreloader = -1 };

// Puts the pre-loader in place for its start as \scope\bin\preldr.exe: one
// that the package brings replaces the installed one, which goes into the
// backup tree with a copy of the running loader; without one in the
// package, the installed pre-loader is used. A retry keeps what an earlier
// attempt saved in the backup tree (the installed pre-loader is then the
// package's already, or missing).
HandOver PreloaderHandOver(platform::Files& files, bool retry);

}  // namespace qv::upgrade
