// The configuration stream: a text dump of every record of both banks that
// save_stream writes and load_stream reads back, one value per line:
//   1                  the format version
//   instrument type    of the instrument the stream was saved for
//   current option     of that instrument's connection
//   then 512 records, the first bank and then the second in id order: the
//   command number (0 for a record the model never defined), and when it is
//   not 0 the value on the next line: a choice's integer, otherwise the
//   value text, or one space for an empty text.
// Windows-1252 text with CR LF line ends (LF alone is read too).
//
// load_stream checks the whole stream before it changes anything: a stream
// that ends early, a line that is not a whole number where one belongs, a
// command number other than its record's, or a value longer than a record
// holds (19 characters) is refused. A value line is read whole, its leading
// and trailing blanks dropped, so the one space of an empty text reads back
// as the empty text.
#pragma once

#include <string>

inline constexpr int CONFIG_STREAM_VERSION = 1;
inline constexpr const char* CONFIG_STREAM_MISMATCH_CAPTION = "Target Mismatch";
inline constexpr const char* CONFIG_STREAM_DAMAGED_CAPTION = "Load Configuration";

// The instrument type names of the target check: types 0 to 15 by their
// names, 16 the empty name, any other code "Unknown".
const char* config_stream_type_name(int instrument_type);
// The current option names: -1 "Unknown", 0 "Standard Current", 1 "Low
// Current", 2 "High Current", any other the empty name.
const char* config_stream_option_name(int current_option);
// Types 1 and 6 are one instrument, and so are 2 and 3; any other type is
// only itself.
bool config_stream_types_equivalent(int a, int b);
// The question asked before a stream saved for another instrument is loaded.
std::string config_stream_mismatch_text(int file_type, int file_option, int instrument_type, int current_option);
// What the user is told about a stream that cannot be loaded.
std::string config_stream_damaged_text(const std::string& reason);
