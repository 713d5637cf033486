// Placing and drawing the generator monitor's picture.
#include "config/monitor_paint_win32.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/debug_output.h"
#include "config/monitor_sketch.h"

namespace {

// Positions are given in the control's design box (its 234 x 105 pixels less
// the border) and scaled to the client area it has.
constexpr double DESIGN_WIDTH = 232;
constexpr double DESIGN_HEIGHT = 103;

constexpr int FONT_HEIGHT = 14;
constexpr int SMALL_FONT_HEIGHT = 11;
constexpr int SMALLEST_FONT_HEIGHT = 6;
// The texts are padded for a font whose characters are all one width.
constexpr char FONT_FACE[] = "Courier New";

constexpr int LEFT = 5;
constexpr int RIGHT = 227;
constexpr int VALUE_X = 66;
constexpr int TITLE_Y = 3;
constexpr int RULE_Y = 19;
constexpr int WAVEFORM_Y = 24;
constexpr int PEAK_Y = 41;
constexpr int FREQUENCY_Y = 58;
constexpr int RMS_Y = 84;
constexpr RECT SKETCH_BOX = {152, 24, 227, 80};

constexpr COLORREF BACKGROUND = RGB(0, 0, 0);
constexpr COLORREF TITLE_COLOUR = RGB(100, 255, 100);
constexpr COLORREF LABEL_COLOUR = RGB(100, 255, 100);
constexpr COLORREF VALUE_COLOUR = RGB(255, 255, 255);
constexpr COLORREF RULE_COLOUR = RGB(0, 110, 0);
constexpr COLORREF AXIS_COLOUR = RGB(0, 80, 0);
constexpr COLORREF TRACE_COLOUR = RGB(255, 215, 0);
constexpr COLORREF SCALE_COLOUR = RGB(170, 170, 170);

class scaler {
public:
    explicit scaler(const RECT& area)
        : left_(area.left), top_(area.top),
          x_scale_((area.right - area.left) / DESIGN_WIDTH), y_scale_((area.bottom - area.top) / DESIGN_HEIGHT)
    {
    }
    int x(int design) const { return left_ + static_cast<int>(std::lround(design * x_scale_)); }
    int y(int design) const { return top_ + static_cast<int>(std::lround(design * y_scale_)); }
    int font_height(int design) const
    {
        return std::max(SMALLEST_FONT_HEIGHT, static_cast<int>(std::lround(design * y_scale_)));
    }
    RECT box(const RECT& design) const { return {x(design.left), y(design.top), x(design.right), y(design.bottom)}; }

private:
    int left_, top_;
    double x_scale_, y_scale_;
};

HFONT make_font(int height, int weight)
{
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, FONT_FACE);
}

// Draws the texts and remembers them in drawing order.
class text_writer {
public:
    text_writer(HDC dc, s_monitor_picture& picture) : dc_(dc), picture_(picture) {}
    void write(HFONT font, int x, int y, const std::string& text, COLORREF colour, UINT align = TA_LEFT)
    {
        if (text.empty()) {
            return;
        }
        const HGDIOBJ before = SelectObject(dc_, font);
        SetTextColor(dc_, colour);
        SetTextAlign(dc_, align | TA_TOP | TA_NOUPDATECP);
        TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
        SelectObject(dc_, before);
        picture_.texts.push_back({text, colour});
    }

private:
    HDC dc_;
    s_monitor_picture& picture_;
};

void line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The sketch's frame and zero line, and the trace over them; the number of
// points the trace has.
int draw_sketch(HDC dc, const RECT& box, const s_monitor_values& values, monitor_shape shape)
{
    const HPEN frame_pen = CreatePen(PS_SOLID, 1, RULE_COLOUR);
    const HPEN axis_pen = CreatePen(PS_DOT, 1, AXIS_COLOUR);
    const HPEN trace_pen = CreatePen(PS_SOLID, 1, TRACE_COLOUR);
    const HGDIOBJ pen_before = SelectObject(dc, frame_pen);
    const HGDIOBJ brush_before = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    const int middle = (box.top + box.bottom) / 2;
    SelectObject(dc, axis_pen);
    line(dc, box.left + 1, middle, box.right - 1, middle);

    // One level per pixel column inside the frame, a pixel clear of it.
    const int first_x = box.left + 2;
    const int columns = box.right - 2 - first_x;
    const double half_height = (box.bottom - box.top) / 2.0 - 3;
    const std::vector<double> levels = monitor_sketch_levels(values, shape, columns);
    std::vector<POINT> points;
    points.reserve(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        points.push_back({first_x + static_cast<LONG>(i),
                          middle - static_cast<LONG>(std::lround(levels[i] * half_height))});
    }
    if (points.size() >= 2) {
        SelectObject(dc, trace_pen);
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
    SelectObject(dc, brush_before);
    SelectObject(dc, pen_before);
    DeleteObject(trace_pen);
    DeleteObject(axis_pen);
    DeleteObject(frame_pen);
    return static_cast<int>(points.size());
}

void write_refresh_trace()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[64];
    std::snprintf(text, sizeof text, "# Refreshing Generator Monitor %02u:%02u:%02u.%03u\n",
                  static_cast<unsigned>(now.wHour), static_cast<unsigned>(now.wMinute),
                  static_cast<unsigned>(now.wSecond), static_cast<unsigned>(now.wMilliseconds));
    debug_output(text);
}

s_monitor_picture draw(HDC dc, const RECT& area, const s_monitor_values& values, int instrument_type,
                       int current_option)
{
    s_monitor_picture picture;
    const s_monitor_texts texts = monitor_texts(values, instrument_type, current_option);
    const scaler at(area);

    const HBRUSH background = CreateSolidBrush(BACKGROUND);
    FillRect(dc, &area, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);

    const HFONT title_font = make_font(at.font_height(FONT_HEIGHT), FW_BOLD);
    const HFONT font = make_font(at.font_height(FONT_HEIGHT), FW_NORMAL);
    const HFONT small_font = make_font(at.font_height(SMALL_FONT_HEIGHT), FW_NORMAL);
    text_writer out(dc, picture);
    out.write(title_font, at.x(LEFT), at.y(TITLE_Y), "Generator Monitor", TITLE_COLOUR);
    const s_monitor_colour& status = texts.status.colour;
    out.write(title_font, at.x(RIGHT), at.y(TITLE_Y), texts.status.text, RGB(status.red, status.green, status.blue),
              TA_RIGHT);

    const HPEN rule_pen = CreatePen(PS_SOLID, 1, RULE_COLOUR);
    const HGDIOBJ pen_before = SelectObject(dc, rule_pen);
    line(dc, at.x(LEFT), at.y(RULE_Y), at.x(RIGHT), at.y(RULE_Y));
    SelectObject(dc, pen_before);
    DeleteObject(rule_pen);

    out.write(font, at.x(LEFT), at.y(WAVEFORM_Y), "Waveform", LABEL_COLOUR);
    out.write(font, at.x(LEFT), at.y(PEAK_Y), "Peak", LABEL_COLOUR);
    out.write(font, at.x(LEFT), at.y(FREQUENCY_Y), "Freq", LABEL_COLOUR);
    out.write(font, at.x(VALUE_X), at.y(WAVEFORM_Y), texts.waveform_name, VALUE_COLOUR);
    out.write(font, at.x(VALUE_X), at.y(PEAK_Y), texts.peak, VALUE_COLOUR);
    out.write(font, at.x(VALUE_X), at.y(FREQUENCY_Y), texts.frequency, VALUE_COLOUR);
    out.write(font, at.x(LEFT), at.y(RMS_Y), texts.rms, VALUE_COLOUR);

    const RECT box = at.box(SKETCH_BOX);
    picture.trace_points = draw_sketch(dc, box, values, monitor_shape_of(texts.waveform_name));
    out.write(small_font, box.right, at.y(RMS_Y), texts.full_scale, SCALE_COLOUR, TA_RIGHT);

    DeleteObject(small_font);
    DeleteObject(font);
    DeleteObject(title_font);
    return picture;
}

}  // namespace

s_monitor_picture monitor_paint(HDC dc, const RECT& area, const s_monitor_values& values, int instrument_type,
                                int current_option)
{
    write_refresh_trace();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (bitmap == nullptr) {
        // No memory for the buffer: draw straight on (it may flicker).
        if (memory != nullptr) {
            DeleteDC(memory);
        }
        return draw(dc, area, values, instrument_type, current_option);
    }
    const HGDIOBJ bitmap_before = SelectObject(memory, bitmap);
    const RECT buffer_area = {0, 0, width, height};
    s_monitor_picture picture = draw(memory, buffer_area, values, instrument_type, current_option);
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, bitmap_before);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}
