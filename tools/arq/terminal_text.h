// Text from an archive as arq shows it on a terminal: stored names and the
// messages that carry them may hold any byte, and a raw control character
// could move the cursor, set the window's title or break a listing's rows.
// Such bytes are shown escaped, as `ls -b` does; everything else is kept.
#pragma once

#include <string>
#include <string_view>

namespace qv::arq {

// The text with control characters escaped: \a \b \t \n \v \f \r as in C,
// other bytes below 0x20, 0x7F and the C1 controls (0x80 to 0x9F, alone or
// encoded in UTF-8 as C2 80 to C2 9F) as three octal digits ("\033"). A
// '\' is kept as it is: a member name as shown never holds one.
std::string TerminalText(std::string_view text);

// Prints "arq: MESSAGE" on stderr, escaped, and returns the exit code.
int Complain(std::string_view message, int exit_code);

}  // namespace qv::arq
