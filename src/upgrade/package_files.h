// The files of an upgrade package in the staging folder and the marker
// files beside it, which carry an upgrade's state across boots: the failure
// marker exists while an upgrade is being installed, so a later boot that
// finds it knows the install was interrupted. Also the hand-over to the
// pre-loader when a package replaces the loader itself.
//
// Each operation first makes the staging folder current on the current
// drive; where that folder is missing it does nothing.
#pragma once

#include "platform/files.h"

namespace qv::upgrade {

// Makes the staging folder current on the current drive: true when it is.
bool EnterStagingFolder(platform::Files& files);

bool FailureMarkerExists(platform::Files& files);
// Creates the marker, or empties it. False when it cannot be created.
bool CreateFailureMarker(platform::Files& files);
// Leaves the archive writable and deletes the marker.
bool RemoveFailureMarker(platform::Files& files);
// Leaves the archive writable and deletes the header, so the package is not
// installed again; the archive itself stays.
void RemoveUpgradeHeader(platform::Files& files);

// The expanded package brings a new loader (staged as qv731ldr.exe).
bool NewLoaderInPackage(platform::Files& files);

enum class HandOver { kStartPreloader = 1, kFolderMissing = 0, kNoPreloader = -1 };

// Puts the pre-loader in place for its start as \scope\bin\preldr.exe: one
// that the package brings replaces the installed one, which goes into the
// backup tree with a copy of the running loader; without one in the
// package, the installed pre-loader is used.
HandOver PreloaderHandOver(platform::Files& files);

}  // namespace qv::upgrade
