// Copying a text into a caller's fixed-size buffer without overrunning it.
#pragma once

#include <cstddef>
#include <string_view>

// Copies at most limit characters of text (and never more than size - 1) into
// out and terminates it. Nothing is written when out is null or size is 0.
void copy_bounded(char* out, std::size_t size, std::string_view text, std::size_t limit);
