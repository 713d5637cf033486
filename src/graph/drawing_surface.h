// What the graph drawing asks of the platform: the few operations every
// graph is drawn with. The Windows program draws through GDI on a memory
// surface, the command-line tool into SVG, the tests into a recording. The
// drawing code sees only this interface, so the three give the same graph.
//
// Coordinates are device pixels, y downwards. Colours are 0x00BBGGRR. Texts
// are Windows-1252 bytes (the degree sign is "\xB0").
#pragma once

#include <cstdint>
#include <string>

struct s_rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The stock brushes the graphs use, and solid colours.
enum class brush_kind { black, white, grey, light_grey, dark_grey, solid };

struct s_brush {
    brush_kind kind = brush_kind::black;
    std::uint32_t colour = 0;  // for brush_kind::solid
};

inline s_brush solid_brush(std::uint32_t colour) { return {brush_kind::solid, colour}; }

enum class pen_style { solid, dotted, dashed };

struct s_pen {
    pen_style style = pen_style::solid;
    int width = 1;  // pixels
    std::uint32_t colour = 0;
};

// normal: left to right; up: rotated by 90 degrees (runs upwards); down:
// rotated by 270 degrees (runs downwards).
enum class font_direction { normal, up, down };

struct s_font {
    int height = 0;  // character height in pixels; 0: the interface font's own
    bool bold = false;
    font_direction direction = font_direction::normal;
    std::string face;  // "" for the system's interface font
};

enum class text_align { left, centre, right };

// How text_in_rect places its text: one line centred vertically in the
// rectangle, or (for read-outs holding "\n" and "\t") several lines from the
// rectangle's top with tabs expanded.
enum class text_lines { single_centred, multi_line };

struct s_text_size {
    int width = 0;
    int height = 0;
};

class drawing_surface {
public:
    virtual ~drawing_surface() = default;

    virtual void fill_rect(const s_rect& area, const s_brush& brush) = 0;
    // A one-pixel border just inside the rectangle, in the brush.
    virtual void frame_rect(const s_rect& area, const s_brush& brush) = 0;

    // Lines and outlines are drawn with the pen selected last.
    virtual void select_pen(const s_pen& pen) = 0;
    virtual void move_to(int x, int y) = 0;
    virtual void line_to(int x, int y) = 0;
    // The ellipse inside the rectangle, outlined with the pen and filled with
    // the brush.
    virtual void ellipse(const s_rect& bounds, const s_brush& fill) = 0;

    // Texts are drawn with the font selected last, in the text colour, with a
    // transparent background unless opaque text is asked for.
    virtual void select_font(const s_font& font) = 0;
    virtual void set_text_colour(std::uint32_t colour) = 0;
    virtual void set_transparent_text(bool transparent) = 0;
    virtual void text_in_rect(const std::string& text, const s_rect& area, text_align align, text_lines lines) = 0;
    // Text whose top left corner (before rotation) is at x, y.
    virtual void text_at(int x, int y, const std::string& text) = 0;
    // The size the text takes in the selected font.
    virtual s_text_size text_extent(const std::string& text) = 0;
};
