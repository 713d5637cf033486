// A double as the shortest text that reads back as the same double: what the
// command-line tool prints for analysis results, so that a script reading
// them loses nothing.
#pragma once

#include <string>

// The fewest significant digits, from 15 to 17, whose "%.*g" form (through
// the exponent helper: "1.5e-006") reads back with strtod as the same value.
// "inf", "-inf" or "nan" when not finite.
std::string round_trip_text(double value);
