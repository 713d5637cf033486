// Every settings file is read and written through profile_store. Two back ends
// share one set of rules, those of the Win32 private-profile functions:
//  - section and key names compare case-insensitively, ignoring white space
//    around them; the first section of a name is the one used;
//  - a missing file, section or key (or a key line without '=') gives the
//    caller's fallback;
//  - string reads trim white space around the value, strip one pair of
//    matching surrounding quotes (' or ") and are cut to the maximum length;
//  - integer reads take the leading integer of the value (optional sign,
//    "0x" hex, "0o" octal, "0b" binary, 32-bit wrap-around) and give the
//    fallback for an empty value;
//  - writes rewrite the whole file (Windows-1252 text, CRLF line ends, binary
//    mode), keeping the other sections and keys in their order, adding a
//    missing key at the end of its section and a missing section at the end of
//    the file, and creating the file (not its folder) when missing.
// Paths longer than the system limit (path_text.h) are never used: reads give
// the fallback and writes fail. Names or values that would break the file's
// line structure (a line break anywhere, '=' in a key or '[' at its start, ']'
// in a section, an empty name) are refused by both back ends.
#pragma once

#include <cstddef>
#include <string>

// The longest value a profile string may have.
inline constexpr std::size_t profile_max_value_length = 32767;

class profile_store {
public:
    virtual ~profile_store() = default;
    // At most max_length characters (and never more than
    // profile_max_value_length) of the value, or of fallback.
    virtual std::string read_string(const std::string& file, const char* section, const char* key,
                                    const char* fallback, std::size_t max_length) = 0;
    virtual int read_int(const std::string& file, const char* section, const char* key,
                         int fallback) = 0;
    // False when the text was refused or the file could not be written.
    virtual bool write_string(const std::string& file, const char* section, const char* key,
                              const char* value) = 0;
};

// The back end for this platform: the Win32 one on Windows, else the portable one.
profile_store& platform_profile_store();
// Reads and writes the files itself with the same rules (any platform).
profile_store& portable_profile_store();
#ifdef _WIN32
// GetPrivateProfileStringA, GetPrivateProfileIntA and WritePrivateProfileStringA.
profile_store& win32_profile_store();
#endif
