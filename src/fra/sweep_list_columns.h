// The column titles of the FRA view's sweep list: the first column's name
// alone, the others "name (unit)". Windows-1252 text (the degree sign is
// 0xB0).
#pragma once

#include <string>
#include <vector>

std::vector<std::string> fra_list_column_titles(bool three_channel);
