// Parameter name tables: for each instrument type that has one, 256 names
// indexed by command number; "Unused" marks a number the type does not have.
// The bulk transfers move exactly the numbers whose name is not "Unused".
#pragma once

inline constexpr const char* UNUSED_PARAMETER_NAME = "Unused";
inline constexpr int PARAMETER_NAME_COUNT = 256;

// The table of an instrument type (types 7, 9, 13, 1 and 6, 2 and 3, 4, 5,
// 16), or nullptr for a type without one.
const char* const* parameter_names_for_type(int instrument_type);
// True when the name marks an unused number.
bool parameter_unused(const char* name);
