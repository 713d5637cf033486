// The drawing surface over a Windows device context: what the program's
// windows and bitmaps draw the graphs through.
//
// Pens, fonts and solid brushes are created as the graph asks for them and
// deleted again: a brush right after its use, a pen or font when the next
// replaces it, the last ones when the surface ends, after the device
// context's own pen and font are selected back. So nothing outlives a paint.
//
// Lines drawn one after another are handed to the system together (one
// PolylineTo for a run of line_to calls), since each call into GDI costs far
// more than the line it draws; any other operation draws the run first.
#pragma once

#include <windows.h>

#include <vector>

#include "graph/drawing_surface.h"

class gdi_surface final : public drawing_surface {
public:
    explicit gdi_surface(HDC dc);
    ~gdi_surface() override;
    gdi_surface(const gdi_surface&) = delete;
    gdi_surface& operator=(const gdi_surface&) = delete;

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

private:
    void draw_pending_lines();

    HDC dc_;
    std::vector<POINT> pending_;
    HGDIOBJ original_pen_ = nullptr;
    HGDIOBJ original_font_ = nullptr;
    HPEN pen_ = nullptr;
    HFONT font_ = nullptr;
};

// The font description of a graph font: the system's interface font
// (DEFAULT_GUI_FONT) with the height, weight (700 bold, 400 otherwise),
// direction (escapement and orientation 900 upwards, 2700 downwards) and
// face the graph asks for.
LOGFONTA graph_logfont(const s_font& font);
