// The column titles of the FRA view's sweep list: the first column's name
// alone, the others "name (unit)". Windows-1252 text (the degree sign is
// 0xB0).
#pragma once

#include <string>
#include <vector>

std::vector<std::string> fra_list_column_titles(bool three_channel);

// The LCR view's list for a layout code ("Steps", then the layout's values;
// "Tan\xF0" is the program's own spelling of tan delta). Layouts other than
// 6, 7 and 8 read like 3.
std::vector<std::string> lcr_list_column_titles(int layout);
