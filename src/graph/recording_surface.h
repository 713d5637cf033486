// A drawing surface that draws nothing and keeps every operation asked of
// it, in order: what the tests inspect (how many curve segments, which
// labels where) and what the benchmarks draw into. Text extents follow a
// fixed model of the interface font, so that layouts are the same on every
// machine.
#pragma once

#include <string>
#include <vector>

#include "graph/drawing_surface.h"

enum class drawing_op {
    fill_rect,
    frame_rect,
    select_pen,
    move_to,
    line_to,
    ellipse,
    select_font,
    text_colour,
    transparent_text,
    text_in_rect,
    text_at,
};

struct s_drawing_record {
    drawing_op op;
    s_rect area;        // fill_rect, frame_rect, ellipse, text_in_rect
    int x = 0;          // move_to, line_to, text_at
    int y = 0;
    s_brush brush;      // fill_rect, frame_rect, ellipse
    s_pen pen;          // select_pen
    s_font font;        // select_font
    std::uint32_t colour = 0;  // text_colour
    bool flag = false;         // transparent_text
    std::string text;          // text_in_rect, text_at
    text_align align = text_align::left;
    text_lines lines = text_lines::single_centred;
    // The pen in force for move_to, line_to and ellipse; the font and text
    // colour in force for texts.
    s_pen current_pen;
    s_font current_font;
    std::uint32_t current_text_colour = 0;
};

// The line segment a line_to drew: from the pen position before it.
struct s_drawn_segment {
    int x0, y0, x1, y1;
    s_pen pen;
};

// The fixed font model: characters are 7 pixels wide and 13 high at the
// interface font's height; other heights scale both. What the recording
// surface measures texts by, and what the SVG surface lays its texts out by,
// so that a picture's layout is the one the tests see.
s_text_size model_text_extent(const s_font& font, const std::string& text);

class recording_surface final : public drawing_surface {
public:
    static constexpr int model_char_width = 7;
    static constexpr int model_char_height = 13;

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

    const std::vector<s_drawing_record>& records() const { return records_; }
    // Every segment drawn, in order.
    std::vector<s_drawn_segment> segments() const;
    // Every text drawn (text_in_rect and text_at), in order.
    std::vector<std::string> texts() const;
    void clear();

private:
    s_drawing_record& add(drawing_op op);

    std::vector<s_drawing_record> records_;
    s_pen pen_;
    s_font font_;
    std::uint32_t text_colour_ = 0;
    int x_ = 0;
    int y_ = 0;
};
