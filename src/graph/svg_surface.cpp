#include "graph/svg_surface.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/text_encoding.h"
#include "graph/recording_surface.h"

namespace {

// The interface font as the picture names it: the system face when the
// graph asks for none, and a generic family behind every face.
constexpr char INTERFACE_FACE[] = "'Segoe UI', 'DejaVu Sans', Arial, sans-serif";

// The model's character cell is 13 pixels high; a font of this size in
// pixels takes about the width per character of the system's interface
// font, a little less than the model counts.
constexpr double FONT_SIZE_PER_CELL = 10.0 / 13.0;
// Where the baseline lies below the top of the cell.
constexpr double ASCENT_PER_CELL = 10.0 / 13.0;

// Tab stops of multi-line texts every 8 model characters, as the system's
// text drawing expands tabs.
constexpr int TAB_CHARACTERS = 8;

std::string colour_text(std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

// A pixel centre (x + 0.5) as an SVG coordinate.
std::string centre_text(int value)
{
    return std::to_string(value) + ".5";
}

const char* dash_array(pen_style style)
{
    switch (style) {
    case pen_style::dotted:
        return "1 2";
    case pen_style::dashed:
        return "6 3";
    case pen_style::solid:
        break;
    }
    return nullptr;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

}  // namespace

std::uint32_t brush_colour(const s_brush& brush)
{
    switch (brush.kind) {
    case brush_kind::black:
        return 0x000000;
    case brush_kind::white:
        return 0xFFFFFF;
    case brush_kind::grey:
        return 0x808080;
    case brush_kind::light_grey:
        return 0xC0C0C0;
    case brush_kind::dark_grey:
        return 0x404040;
    case brush_kind::solid:
        break;
    }
    return brush.colour & 0xFFFFFF;
}

std::string svg_text(const std::string& text)
{
    std::string kept;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
            kept += c;
        }
    }
    std::string out;
    for (const char c : cp1252_to_utf8(kept)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

svg_surface::svg_surface(int width, int height) : width_(std::max(1, width)), height_(std::max(1, height)) {}

void svg_surface::end_path()
{
    if (path_.empty()) {
        return;
    }
    body_ += "<path d=\"" + path_ + "\" fill=\"none\" stroke=\"" + colour_text(pen_.colour) +
             "\" stroke-width=\"" + std::to_string(std::max(1, pen_.width)) + "\"";
    if (const char* dashes = dash_array(pen_.style)) {
        body_ += std::string(" stroke-dasharray=\"") + dashes + "\"";
    }
    body_ += "/>\n";
    path_.clear();
    path_at_pen_ = false;
}

void svg_surface::fill_rect(const s_rect& area, const s_brush& brush)
{
    end_path();
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    body_ += "<rect x=\"" + std::to_string(area.left) + "\" y=\"" + std::to_string(area.top) + "\" width=\"" +
             std::to_string(area.width()) + "\" height=\"" + std::to_string(area.height()) + "\" fill=\"" +
             colour_text(brush_colour(brush)) + "\" shape-rendering=\"crispEdges\"/>\n";
}

void svg_surface::frame_rect(const s_rect& area, const s_brush& brush)
{
    end_path();
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    // A one-pixel outline whose stroke covers the rectangle's outer pixels.
    body_ += "<rect x=\"" + centre_text(area.left) + "\" y=\"" + centre_text(area.top) + "\" width=\"" +
             std::to_string(area.width() - 1) + "\" height=\"" + std::to_string(area.height() - 1) +
             "\" fill=\"none\" stroke=\"" + colour_text(brush_colour(brush)) +
             "\" stroke-width=\"1\" shape-rendering=\"crispEdges\"/>\n";
}

void svg_surface::select_pen(const s_pen& pen)
{
    end_path();
    pen_ = pen;
}

void svg_surface::move_to(int x, int y)
{
    x_ = x;
    y_ = y;
    path_at_pen_ = false;
}

void svg_surface::line_to(int x, int y)
{
    if (!path_at_pen_) {
        path_ += (path_.empty() ? "M" : " M") + centre_text(x_) + " " + centre_text(y_);
    }
    path_ += " L" + centre_text(x) + " " + centre_text(y);
    x_ = x;
    y_ = y;
    path_at_pen_ = true;
}

void svg_surface::ellipse(const s_rect& bounds, const s_brush& fill)
{
    end_path();
    const double cx = (bounds.left + bounds.right) / 2.0;
    const double cy = (bounds.top + bounds.bottom) / 2.0;
    const double rx = std::max(0, bounds.width()) / 2.0;
    const double ry = std::max(0, bounds.height()) / 2.0;
    char text[160];
    std::snprintf(text, sizeof text, "<ellipse cx=\"%.1f\" cy=\"%.1f\" rx=\"%.1f\" ry=\"%.1f\"", cx, cy, rx, ry);
    body_ += text;
    body_ += " fill=\"" + colour_text(brush_colour(fill)) + "\" stroke=\"" + colour_text(pen_.colour) +
             "\" stroke-width=\"" + std::to_string(std::max(1, pen_.width)) + "\"";
    if (const char* dashes = dash_array(pen_.style)) {
        body_ += std::string(" stroke-dasharray=\"") + dashes + "\"";
    }
    body_ += "/>\n";
}

void svg_surface::select_font(const s_font& font)
{
    font_ = font;
}

void svg_surface::set_text_colour(std::uint32_t colour)
{
    text_colour_ = colour;
}

void svg_surface::set_transparent_text(bool transparent)
{
    transparent_text_ = transparent;
}

s_text_size svg_surface::text_extent(const std::string& text)
{
    return model_text_extent(font_, text);
}

void svg_surface::write_text(int x, int y, const std::string& text, text_align anchor)
{
    end_path();
    if (text.empty()) {
        return;
    }
    const s_text_size size = text_extent(text);
    const int rotation = font_.direction == font_direction::up ? -90 : font_.direction == font_direction::down ? 90 : 0;
    std::string transform;
    if (rotation != 0) {
        transform = " transform=\"rotate(" + std::to_string(rotation) + " " + std::to_string(x) + " " +
                    std::to_string(y) + ")\"";
    }
    if (!transparent_text_) {
        // The cell behind the text in the background colour (white).
        const int left = anchor == text_align::left ? x : anchor == text_align::centre ? x - size.width / 2 : x - size.width;
        body_ += "<rect x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                 std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) +
                 "\" fill=\"#FFFFFF\"" + transform + "/>\n";
    }
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "<text x=\"%d\" y=\"%.1f\" font-size=\"%.1f\"", x,
                  y + size.height * ASCENT_PER_CELL, size.height * FONT_SIZE_PER_CELL);
    body_ += numbers;
    const std::string face =
        font_.face.empty() ? std::string(INTERFACE_FACE) : "'" + svg_text(font_.face) + "', " + INTERFACE_FACE;
    body_ += " font-family=\"" + face + "\"";
    if (font_.bold) {
        body_ += " font-weight=\"bold\"";
    }
    if (anchor != text_align::left) {
        body_ += anchor == text_align::centre ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
    }
    body_ += " fill=\"" + colour_text(text_colour_) + "\" xml:space=\"preserve\"" + transform + ">" + svg_text(text) +
             "</text>\n";
}

void svg_surface::text_in_rect(const std::string& text, const s_rect& area, text_align align, text_lines lines)
{
    if (lines == text_lines::single_centred) {
        const int x = align == text_align::left     ? area.left
                      : align == text_align::centre ? (area.left + area.right) / 2
                                                    : area.right;
        write_text(x, area.top + (area.height() - text_extent(text).height) / 2, text, align);
        return;
    }
    // Several lines from the top; each piece between tabs is written at its
    // tab stop, and the line as a whole is aligned by its expanded width.
    const int char_width = std::max(1, text_extent("0").width);
    const int tab_width = TAB_CHARACTERS * char_width;
    int y = area.top;
    for (std::string line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> pieces = split(line, '\t');
        std::vector<int> starts;
        int width = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                width = (width / tab_width + 1) * tab_width;
            }
            starts.push_back(width);
            width += text_extent(pieces[i]).width;
        }
        const int left = align == text_align::left     ? area.left
                         : align == text_align::centre ? (area.left + area.right - width) / 2
                                                       : area.right - width;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            write_text(left + starts[i], y, pieces[i], text_align::left);
        }
        y += text_extent(line).height;
    }
}

void svg_surface::text_at(int x, int y, const std::string& text)
{
    write_text(x, y, text, text_align::left);
}

std::string svg_surface::document()
{
    end_path();
    const std::string w = std::to_string(width_);
    const std::string h = std::to_string(height_);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n" + body_ + "</svg>\n";
}
