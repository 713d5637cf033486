// The font of a large numeric read-out: the biggest that still fits the
// text into its box.
#pragma once

#include <string>

#include "graph/drawing_surface.h"

inline constexpr char FIT_FONT_FACE[] = "Microsoft Sans Serif";

// Tries character heights from the box's height plus extra_height down to 1,
// one at a time, and gives the first font (weight 700 when bold, else 400;
// face as named, FIT_FONT_FACE when none) whose rendering of text is
// narrower than the box; height 1 when none is. The font found is left
// selected in the surface. Heights above 2000 pixels are not tried.
s_font fit_font(drawing_surface& surface, const std::string& text, const s_rect& box, int extra_height, bool bold,
                const std::string& face = "");
