// The tool's tab-separated output lines (column titles, name and value pairs).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The fields joined by tabs.
std::string tab_joined(const std::vector<std::string>& fields);

// The fields joined by tabs, as one line on stream.
void print_tab_line(std::FILE* stream, const std::vector<std::string>& fields);
