// The program's name and version texts.
#pragma once

#include <string>

inline constexpr char program_name[] = "Corvexa2";
// The version and build date; the title shows the part before the first space.
inline constexpr char program_version_text[] = "1_2 Mar 26 2019";

// "Corvexa2 1_2": the name, a space and the version without its date.
std::string program_title();
