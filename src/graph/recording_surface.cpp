#include "graph/recording_surface.h"

#include <algorithm>
#include <limits>

s_drawing_record& recording_surface::add(drawing_op op)
{
    s_drawing_record& record = records_.emplace_back();
    record.op = op;
    record.current_pen = pen_;
    record.current_font = font_;
    record.current_text_colour = text_colour_;
    return record;
}

void recording_surface::fill_rect(const s_rect& area, const s_brush& brush)
{
    s_drawing_record& r = add(drawing_op::fill_rect);
    r.area = area;
    r.brush = brush;
}

void recording_surface::frame_rect(const s_rect& area, const s_brush& brush)
{
    s_drawing_record& r = add(drawing_op::frame_rect);
    r.area = area;
    r.brush = brush;
}

void recording_surface::select_pen(const s_pen& pen)
{
    pen_ = pen;
    add(drawing_op::select_pen).pen = pen;
}

void recording_surface::move_to(int x, int y)
{
    s_drawing_record& r = add(drawing_op::move_to);
    r.x = x_ = x;
    r.y = y_ = y;
}

void recording_surface::line_to(int x, int y)
{
    s_drawing_record& r = add(drawing_op::line_to);
    r.x = x_ = x;
    r.y = y_ = y;
}

void recording_surface::ellipse(const s_rect& bounds, const s_brush& fill)
{
    s_drawing_record& r = add(drawing_op::ellipse);
    r.area = bounds;
    r.brush = fill;
}

void recording_surface::select_font(const s_font& font)
{
    font_ = font;
    add(drawing_op::select_font).font = font;
}

void recording_surface::set_text_colour(std::uint32_t colour)
{
    text_colour_ = colour;
    add(drawing_op::text_colour).colour = colour;
}

void recording_surface::set_transparent_text(bool transparent)
{
    add(drawing_op::transparent_text).flag = transparent;
}

void recording_surface::text_in_rect(const std::string& text, const s_rect& area, text_align align,
                                     text_lines lines)
{
    s_drawing_record& r = add(drawing_op::text_in_rect);
    r.text = text;
    r.area = area;
    r.align = align;
    r.lines = lines;
}

void recording_surface::text_at(int x, int y, const std::string& text)
{
    s_drawing_record& r = add(drawing_op::text_at);
    r.x = x;
    r.y = y;
    r.text = text;
}

s_text_size model_text_extent(const s_font& font, const std::string& text)
{
    constexpr int char_width = recording_surface::model_char_width;
    constexpr int char_height = recording_surface::model_char_height;
    const int height = font.height > 0 ? font.height : char_height;
    const long long width = std::max(1LL, (char_width * static_cast<long long>(height) + char_height / 2) / char_height);
    const long long total = width * static_cast<long long>(text.size());
    return {static_cast<int>(std::min<long long>(total, std::numeric_limits<int>::max())), height};
}

s_text_size recording_surface::text_extent(const std::string& text)
{
    return model_text_extent(font_, text);
}

std::vector<s_drawn_segment> recording_surface::segments() const
{
    std::vector<s_drawn_segment> drawn;
    int x = 0;
    int y = 0;
    for (const s_drawing_record& r : records_) {
        if (r.op == drawing_op::line_to) {
            drawn.push_back({x, y, r.x, r.y, r.current_pen});
        }
        if (r.op == drawing_op::line_to || r.op == drawing_op::move_to) {
            x = r.x;
            y = r.y;
        }
    }
    return drawn;
}

std::vector<std::string> recording_surface::texts() const
{
    std::vector<std::string> drawn;
    for (const s_drawing_record& r : records_) {
        if (r.op == drawing_op::text_in_rect || r.op == drawing_op::text_at) {
            drawn.push_back(r.text);
        }
    }
    return drawn;
}

void recording_surface::clear()
{
    records_.clear();
}
