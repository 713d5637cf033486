// The program's name and version texts.
#pragma once

#include <string>

inline constexpr char program_name[] = "Corvexa2";
// The version and build date.
inline constexpr char program_version_text[] = "1_2 Mar 26 2019";

// The version without its date: "1_2".
std::string program_version();
// "Corvexa2 1_2": the name, a space and the version.
std::string program_title();
