// The program holds every text, names and file paths included, in
// Windows-1252. These convert between it and UTF-8, which Linux terminals,
// Linux file names and SQLite's file names use.
#pragma once

#include <string>

// text with every Windows-1252 byte written as UTF-8. The five bytes that
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// control characters of the same number, as the system's own conversion does.
std::string cp1252_to_utf8(const std::string& text);

enum class utf8_conversion {
    converted,         // every character has a Windows-1252 byte
    not_utf8,          // the bytes are not well-formed UTF-8
    not_representable, // well-formed, but a character has no Windows-1252 byte
};

// The reverse of cp1252_to_utf8; out is written only when converted.
utf8_conversion utf8_to_cp1252(const std::string& utf8, std::string* out);

// A path of the program as the platform's file calls take it: unchanged on
// Windows (the system's code page is the program's), its UTF-8 form elsewhere.
std::string system_path(const std::string& program_path);
// A text from the platform (an environment variable, the working folder) as
// the program holds it: unchanged on Windows; elsewhere converted from UTF-8,
// or left as it is when it is not UTF-8 of Windows-1252 characters.
std::string program_text_from_system(const std::string& text);
