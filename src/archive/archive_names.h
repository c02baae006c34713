// Names as the library handles them: upper case (ASCII letters only), archive
// names with their default extension, the destination folder of an extract
// entry, the parts of a path ('\' between names), and the test that keeps an
// extracted member inside its destination whatever its stored name holds.
#pragma once

#include <string>
#include <string_view>

namespace qv::archive {

std::string UpperAscii(std::string_view text);
bool SameIgnoringCase(std::string_view a, std::string_view b);

// A name has an extension when its last '.' is neither its first character
// nor preceded by '.' or '\' ("A.B." has one, "UPDATE" and ".ARQ" have none).
bool HasExtension(std::string_view name);
// The name with trailing blanks removed and ".arq" appended when it has no
// extension ("UPDATE" becomes "UPDATE.arq").
std::string ArchiveFileName(std::string_view name);
// Whether the name ends in ".arq", in any case.
bool EndsWithArq(std::string_view name);

// An extract entry's destination: upper case, with '\' appended unless it is
// empty or ends in ':' or '\' ("C:" stays "C:", "C:\X" becomes "C:\X\").
std::string DestinationFolder(std::string_view destination);

// The text after the last ':' or '\'.
std::string_view FilePart(std::string_view path);
// The text up to and including the last ':' or '\' ("" for a bare name), so
// that FolderOf(path) + name names a file beside `path`.
std::string_view FolderOf(std::string_view path);
// The path without a leading drive ("C:") and without the '.' and '\'
// characters that then lead it.
std::string_view StripDriveAndLeadingDots(std::string_view path);

// Whether a name is one the system keeps for a device: CON, PRN, AUX, NUL,
// COM1 to COM9 or LPT1 to LPT9, in any case, with or without an extension
// and with blanks before it ("nul.txt", "Com1 .log"). Writing to one writes
// to the device, not to a file.
bool IsDeviceName(std::string_view name);

// Whether a member's name (as read: '\' between names) can be placed below a
// destination folder without leaving it: relative, no drive, no empty name,
// no name that is only dots and blanks ("..", "."), no device name, no
// character a name cannot hold.
bool IsContainedMemberPath(std::string_view name);

}  // namespace qv::archive
