// One line of an instrument's sweep reply turned into one point.
//
// A line is comma-separated decimal text in the instrument's exponent form
// (each field 8 to 11 characters with exactly one ".") or, when its first byte
// is 0x80 or above, packed binary values of 5 bytes each. It is decoded with
// parse_value_list_strict into a zeroed point; the first text field that fails
// the field check ends the line. A line is accepted only when it gives exactly
// the number of values expected, so a short or damaged line never becomes a
// point.
#pragma once

#include <cstddef>

#include "fra/sweep_records.h"

struct s_connection;

// Values per line of an FRA sweep reply ("gainph,sweep?"): 5 from an
// instrument of type 8, 10 from type 9 with the third-channel measurement
// (parameter 84) on, 6 from every other instrument.
int fra_sweep_line_values(int instrument_type, bool third_channel_on);

// Whether a single FRA reading ("fra?") of count values is complete: 10 for a
// type-9 third-channel reading, else 6; type 8 may also give 5.
bool fra_reading_count_accepted(int instrument_type, bool third_channel_on, int count);

// The line (length bytes) into point, which is zeroed first; fields past
// `expected` stay 0. True when the line held exactly `expected` values
// (1 to FRA_RESULT_VALUES); otherwise point holds what was read and must not
// be stored.
bool fra_point_from_line(const char* line, std::size_t length, int expected, s_fra_result& point);

// The same for an LCR sweep line ("LCR,SWEEP?"), expecting the values of the
// layout (lcr_values_for_layout).
bool lcr_point_from_line(const char* line, std::size_t length, int layout, s_lcr_result& point);

// Reads one reply line from the link (validating) into point, zeroed first.
// True when it held exactly the expected values.
bool read_fra_point(s_connection* conn, int expected, s_fra_result& point);
bool read_lcr_point(s_connection* conn, int layout, s_lcr_result& point);
