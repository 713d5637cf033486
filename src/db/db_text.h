// The database's texts where they meet a line-based reader (the tool's
// tab-separated listings) and where they come in from outside (the tool's
// words). Texts are Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <string>

// text with every byte that could break or forge a listing line written as a
// backslash form: "\\" for a backslash, "\n", "\t", "\r", and "\xNN" (two
// upper-case hex digits) for the other control bytes (0x00 to 0x1F, 0x7F)
// and for the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D), which a terminal shows as control characters. Every other
// byte is kept, so the form reads back exactly and one row stays one line.
std::string db_escape_list_text(const std::string& text);

// True for a byte that is printable Windows-1252 text: neither a control
// byte nor one the code page leaves undefined.
bool db_printable_byte(unsigned char byte);

// The position of the first byte of text that is not printable
// Windows-1252 text, or std::string::npos when every byte is.
std::size_t db_first_unprintable(const std::string& text);
