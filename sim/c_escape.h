// C-style escaping of byte strings, both ways. The transcript writes every
// byte it records through c_escape so a record stays one printable line; the
// --raw-reply option reads its TEXT through c_unescape.
#pragma once

#include <string>
#include <string_view>

namespace hvxsim {

// \r \n \0 \t \\ \" for those bytes, \xHH (two upper-case hex digits) for
// every other byte outside 0x20-0x7E, everything else unchanged.
std::string c_escape(std::string_view bytes);

// Undoes c_escape and also accepts \a \b \f \v, octal \NNN (1 to 3 digits)
// and \xH or \xHH. Returns false and a description in error for a lone
// trailing backslash, an unknown escape letter or \x without a hex digit.
bool c_unescape(std::string_view text, std::string& out, std::string& error);

// text in double quotes, for messages (as it stands, not escaped).
std::string quoted(std::string_view text);

}  // namespace hvxsim
