#include "graph/graph_titles.h"

#include <algorithm>

namespace {

void draw_rotated(drawing_surface& surface, font_direction direction, int x, int top, int bottom,
                  const std::string& text, std::uint32_t colour)
{
    s_font font;
    font.direction = direction;
    surface.select_font(font);
    surface.set_text_colour(colour);
    // The extent runs along the text, which here runs up or down the plot.
    const int length = surface.text_extent(text).width;
    const int centre = top + (bottom - top) / 2;
    // Before rotation the point is the text's top left corner: a downward
    // text starts at its top, an upward one at its bottom.
    const int y = direction == font_direction::down ? centre - length / 2 : centre + length / 2;
    surface.text_at(x, y, text);
    surface.select_font(s_font{});
}

}  // namespace

void draw_centred_title(drawing_surface& surface, const s_rect& band, const std::string& text)
{
    surface.text_in_rect(text, band, text_align::centre, text_lines::single_centred);
}

void draw_downward_title(drawing_surface& surface, int x, int top, int bottom, const std::string& text,
                         std::uint32_t colour)
{
    draw_rotated(surface, font_direction::down, x, top, bottom, text, colour);
}

void draw_upward_title(drawing_surface& surface, int x, int top, int bottom, const std::string& text,
                       std::uint32_t colour)
{
    draw_rotated(surface, font_direction::up, x, top, bottom, text, colour);
}

void draw_readout_row(drawing_surface& surface, int x, int y, const std::vector<s_readout_item>& items)
{
    s_font bold;
    bold.bold = true;
    surface.select_font(bold);
    for (const s_readout_item& item : items) {
        surface.set_text_colour(item.colour);
        surface.text_at(x, y, item.text);
        // A text longer than the step would run into the next item.
        x += std::max(READOUT_ITEM_STEP, surface.text_extent(item.text).width + READOUT_ITEM_GAP);
    }
    surface.select_font(s_font{});
}
