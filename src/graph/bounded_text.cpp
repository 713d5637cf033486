#include "graph/bounded_text.h"

#include <cstring>

void copy_bounded(char* out, std::size_t size, std::string_view text, std::size_t limit)
{
    if (out == nullptr || size == 0) {
        return;
    }
    std::size_t length = text.size();
    if (length > limit) {
        length = limit;
    }
    if (length > size - 1) {
        length = size - 1;
    }
    if (length > 0) {  // an empty view may have no data at all
        std::memcpy(out, text.data(), length);
    }
    out[length] = '\0';
}
