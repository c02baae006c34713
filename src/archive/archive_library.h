// The archive library: one archive open at a time, worked on through a small
// set of calls. The loader's expansion of an upgrade package uses it so:
//
//   ArchiveLibrary library(platform.files);
//   library.ArchiveInit();
//   library.ArchiveSetCallback(kProgressCallbackCode, callback);
//   if (Status s = library.ArchiveCheck(path); s != Status::kOk) ... StatusMessage(s)
//   library.ArchiveOpen(path, kModeKeepPaths | kModeAccepted | kModeReadOnly);  // 19
//   library.ArchiveSelectExtract("*.*", "\\scope\\upgrade");
//   library.ArchiveProcess();
//   library.ArchiveClose();
//   library.ArchiveSetCallback(kProgressCallbackCode, nullptr);
//
// Everything the library knows lives in the object (a test makes a fresh
// one); it reaches files, drives and free space only through the Files port.
// Every call returns a status (0, or -1 ... -33 with StatusMessage), and the
// progress callback hears of everything the library does (codec/events.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "archive/library_state.h"
#include "codec/events.h"
#include "codec/status.h"
#include "platform/files.h"

namespace qv::archive {

// ArchiveOpen's mode flags.
inline constexpr std::uint32_t kModeKeepPaths = 1;       // members keep their folders
inline constexpr std::uint32_t kModeAccepted = 2;        // no effect
inline constexpr std::uint32_t kModeTextConversion = 8;  // no effect: no conversion is made
inline constexpr std::uint32_t kModeReadOnly = 16;       // no work archive, no updates

// ArchiveSetCallback's codes.
inline constexpr std::int32_t kProgressCallbackCode = 100;
inline constexpr std::int32_t kOverwriteCallbackCode = 101;

// A name the caller may leave out ("no name": Status::kBadArgument).
using OptionalName = std::optional<std::string_view>;

class ArchiveLibrary {
 public:
  explicit ArchiveLibrary(platform::Files& files) : state_(files) {}

  // Sets the current volume and the cached free space to 0. kOk.
  Status ArchiveInit();

  // Code 100 installs the progress callback, 101 the overwrite callback
  // (asked as (record, 0, 0) before a writable target is replaced; a result
  // whose low 16 bits are 0 keeps the target); an empty function removes
  // it. Any other code: kBadArgument.
  Status ArchiveSetCallback(std::int32_t code, ProgressCallback callback);

  // Whether files added from now on are packed with the optimal parse
  // (smaller, several times slower) instead of the lazy one, the default.
  // Both write the same stream format; the store list and the fallback to
  // storing incompressible files apply to either.
  void ArchiveSetBestCompression(bool on) { state_.encoder.set_optimal_parse(on); }

  // Whether the file is an archive, without opening it: kOk (also for an
  // archive that holds only the end marker), kBadArgument without a name,
  // kFileNotFound, kCannotOpen, kNotAnArchive. A name without an extension
  // gets ".arq"; a name that does not end in ".arq" may hold the archive
  // behind up to 200,000 other bytes.
  Status ArchiveCheck(OptionalName name);

  // Opens the archive (mode: the kMode flags). Without kModeReadOnly a
  // missing archive is created, and a work archive (a temporary file beside
  // it) receives the rewritten archive. kBadArgument, kAlreadyOpen,
  // kNotAnArchive (no signature in a file not named ".arq"), kCannotOpen,
  // kCannotCreate (no work archive), or the failure of copying the bytes in
  // front of an embedded archive.
  Status ArchiveOpen(OptionalName name, std::uint32_t mode);

  // Appends an entry to the selection list; the archive must be open
  // (kNotAnArchive otherwise) and the pattern valid (kBadArgument).
  // Extract the members that match into the destination folder:
  Status ArchiveSelectExtract(OptionalName pattern, OptionalName destination);
  // Add (or replace) the files the pattern names on disk:
  Status ArchiveSelectAdd(OptionalName pattern);
  // Delete the members that match (encrypted members stay):
  Status ArchiveSelectDelete(OptionalName pattern);

  // How many threads pack the files an update adds (at least 1, the
  // default: each packed in place). More threads give the same archive and
  // the same events; the files are then read into memory ahead of their
  // turn, and one too large for that has its matches found on them. Disks
  // are spanned with one.
  void SetThreads(int threads);

  // Walks the archive and carries out the selection list (see
  // archive_walk.h). kNotAnArchive when no archive is open (also after a
  // finished walk), kCannotOpen / kCannotCreate for a lost archive or work
  // archive, kError when extracting a member failed.
  Status ArchiveProcess();

  // Ends the work with the archive, open or not: the work archive takes the
  // archive's place in one step when the archive was changed (and the update
  // was carried out whole), or is deleted; an archive file left empty is
  // deleted. kOk, or kWriteError when the work archive could not take the
  // archive's place (the archive is then as it was).
  Status ArchiveClose();

 private:
  Status AppendEntry(EntryKind kind, OptionalName pattern, std::string_view destination);
  // The signature's offset in a file not named ".arq": kFileNotFound,
  // kCannotOpen, kNotAnArchive, kCanceled, or the offset.
  std::int64_t EmbeddedStart(const std::string& name);
  Status CopyLeadingBytes(std::int64_t count);
  // What ArchiveClose does, without its event.
  Status Release();

  LibraryState state_;
};

}  // namespace qv::archive
