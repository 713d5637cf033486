// printf-style composition of the access layer's SQL text and list lines.
// Only the access layer's own constant formats are filled, with table and
// column names from the schema lists, numbers and "NULL"; values typed by
// users are always bound to statements, never written into SQL text.
#pragma once

#include <string>

std::string db_format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
