#include "graph/fit_font.h"

#include <algorithm>

namespace {

constexpr int HIGHEST_TRIED = 2000;

}  // namespace

s_font fit_font(drawing_surface& surface, const std::string& text, const s_rect& box, int extra_height, bool bold,
                const std::string& face)
{
    s_font font;
    font.bold = bold;
    font.face = face.empty() ? FIT_FONT_FACE : face;
    const long long start = static_cast<long long>(box.height()) + extra_height;
    for (int height = static_cast<int>(std::clamp(start, 1LL, static_cast<long long>(HIGHEST_TRIED))); height >= 1;
         --height) {
        font.height = height;
        surface.select_font(font);
        if (surface.text_extent(text).width < box.width()) {
            return font;
        }
    }
    font.height = 1;
    surface.select_font(font);
    return font;
}
