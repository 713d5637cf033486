// Axis titles and read-out rows: the texts around a plot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/drawing_surface.h"

// One line centred in the band, in the normal font.
void draw_centred_title(drawing_surface& surface, const s_rect& band, const std::string& text);

// A title that runs downwards (the font rotated by 270 degrees) or upwards
// (90 degrees) at x, centred on the span from top to bottom, in the colour
// given. The normal font is selected again afterwards.
void draw_downward_title(drawing_surface& surface, int x, int top, int bottom, const std::string& text,
                         std::uint32_t colour);
void draw_upward_title(drawing_surface& surface, int x, int top, int bottom, const std::string& text,
                       std::uint32_t colour);

// A cursor read-out: items in a row in the bold font, the first at x, y (its
// top left corner), each further one READOUT_ITEM_STEP pixels to the right,
// or further when the item before it is longer (READOUT_ITEM_GAP after it).
inline constexpr int READOUT_ITEM_STEP = 125;
inline constexpr int READOUT_ITEM_GAP = 10;
struct s_readout_item {
    std::string text;
    std::uint32_t colour;
};
void draw_readout_row(drawing_surface& surface, int x, int y, const std::vector<s_readout_item>& items);
