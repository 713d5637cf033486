// A drawing surface that writes a standalone SVG document: what the
// command-line tool draws its graphs into. Every operation becomes an element
// of the picture, in drawing order, so later operations paint over earlier
// ones as on the screen.
//
// - Consecutive lines drawn with one pen are kept in one path element (a
//   curve is one path); dotted and dashed pens become stroke-dasharray.
// - Texts are laid out by the fixed font model of the recording surface, so
//   the picture's layout is the one the tests inspect; they are converted
//   from Windows-1252 to UTF-8 and escaped for XML. Rotated fonts are written
//   as a rotation of the text about its starting corner.
// - Lines and frames sit on pixel centres (half-pixel offsets), so one-pixel
//   lines stay sharp.
#pragma once

#include <cstdint>
#include <string>

#include "graph/drawing_surface.h"

class svg_surface final : public drawing_surface {
public:
    // A picture of width x height pixels (each at least 1).
    svg_surface(int width, int height);

    void fill_rect(const s_rect& area, const s_brush& brush) override;
    void frame_rect(const s_rect& area, const s_brush& brush) override;
    void select_pen(const s_pen& pen) override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void ellipse(const s_rect& bounds, const s_brush& fill) override;
    void select_font(const s_font& font) override;
    void set_text_colour(std::uint32_t colour) override;
    void set_transparent_text(bool transparent) override;
    void text_in_rect(const std::string& text, const s_rect& area, text_align align, text_lines lines) override;
    void text_at(int x, int y, const std::string& text) override;
    s_text_size text_extent(const std::string& text) override;

    // The whole document: XML declaration, the svg element with the
    // picture's size, everything drawn so far, the end tag.
    std::string document();

private:
    void end_path();
    // One line of text whose unrotated top left corner is at x, y, anchored
    // at its start, middle or end.
    void write_text(int x, int y, const std::string& text, text_align anchor);

    int width_;
    int height_;
    std::string body_;
    std::string path_;  // the path being collected, "" when none
    s_pen pen_;
    s_font font_;
    std::uint32_t text_colour_ = 0;
    // A device context draws text on an opaque background until told not to.
    bool transparent_text_ = false;
    int x_ = 0;
    int y_ = 0;
    bool path_at_pen_ = false;  // the path's last point is the pen position
};

// The colour a brush paints (0x00BBGGRR): the stock brushes' greys, or the
// solid brush's colour.
std::uint32_t brush_colour(const s_brush& brush);

// text (Windows-1252) as UTF-8 fit for XML character data and attribute
// values: &, <, >, " and ' escaped, control characters that XML does not
// allow dropped.
std::string svg_text(const std::string& text);
