// Where the tool meets the terminal. The program holds its texts in
// Windows-1252 (names with degree signs and Greek letters, paths, the
// instrument's replies). On Linux, terminals, command lines and scripts use
// UTF-8, so the tool's words are converted to the program's code page on the
// way in and everything it prints back to UTF-8 on the way out. On Windows
// the program's code page is the system's: nothing is converted, and a
// console shows code page 1252 while the tool runs.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The stream to print the program's texts to in place of standard output or
// standard error (stream itself on Windows). Line buffered.
std::FILE* terminal_stream(std::FILE* stream);

// The command-line words in the program's code page. False, with the reason
// in *error, when a word holds a character Windows-1252 has no byte for (the
// program could not name it). Words that are not UTF-8 are kept as they are.
bool program_words(std::vector<std::string>* words, std::string* error);

// On Windows, when standard output is a console: its output code page set to
// 1252 until the tool exits (then put back, since the console is shared with
// the shell). Nothing elsewhere.
void terminal_use_program_code_page();

// A line of Unicode text (UTF-8: the EIS results' Ohm sign has no
// Windows-1252 byte) on a stream terminal_stream gave. On Linux the UTF-8
// goes out as it is; on Windows a console shows it through the wide-character
// call, and a file or pipe gets it as UTF-8.
void print_unicode_line(std::FILE* stream, const std::string& utf8);
