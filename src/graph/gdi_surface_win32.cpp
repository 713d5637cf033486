#include "graph/gdi_surface_win32.h"

#include <algorithm>
#include <cstring>

#include "graph/bounded_text.h"

namespace {

// A brush to paint with: a stock brush (never deleted) or a solid one made
// for this call and deleted when it ends.
class brush_for_call {
public:
    explicit brush_for_call(const s_brush& brush)
    {
        switch (brush.kind) {
        case brush_kind::black:
            handle_ = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            break;
        case brush_kind::white:
            handle_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            break;
        case brush_kind::grey:
            handle_ = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
            break;
        case brush_kind::light_grey:
            handle_ = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
            break;
        case brush_kind::dark_grey:
            handle_ = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
            break;
        case brush_kind::solid:
            handle_ = CreateSolidBrush(static_cast<COLORREF>(brush.colour & 0xFFFFFF));
            owned_ = true;
            break;
        }
    }
    ~brush_for_call()
    {
        if (owned_ && handle_ != nullptr) {
            DeleteObject(handle_);
        }
    }
    brush_for_call(const brush_for_call&) = delete;
    brush_for_call& operator=(const brush_for_call&) = delete;
    HBRUSH handle() const { return handle_; }

private:
    HBRUSH handle_ = nullptr;
    bool owned_ = false;
};

RECT rect_of(const s_rect& area)
{
    return {area.left, area.top, area.right, area.bottom};
}

int pen_style_of(pen_style style)
{
    switch (style) {
    case pen_style::dotted:
        return PS_DOT;
    case pen_style::dashed:
        return PS_DASH;
    case pen_style::solid:
        break;
    }
    return PS_SOLID;
}

int text_length(const std::string& text)
{
    return static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
}

}  // namespace

LOGFONTA graph_logfont(const s_font& font)
{
    LOGFONTA description{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description) == 0) {
        description = LOGFONTA{};
        description.lfHeight = -11;
        description.lfCharSet = DEFAULT_CHARSET;
    }
    if (font.height > 0) {
        description.lfHeight = -font.height;
        description.lfWidth = 0;
    }
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    const LONG angle = font.direction == font_direction::up ? 900 : font.direction == font_direction::down ? 2700 : 0;
    description.lfEscapement = angle;
    description.lfOrientation = angle;
    if (!font.face.empty()) {
        copy_bounded(description.lfFaceName, sizeof description.lfFaceName, font.face, LF_FACESIZE - 1);
    }
    return description;
}

gdi_surface::gdi_surface(HDC dc) : dc_(dc)
{
    original_pen_ = GetCurrentObject(dc_, OBJ_PEN);
    original_font_ = GetCurrentObject(dc_, OBJ_FONT);
    SetBkMode(dc_, OPAQUE);
    select_font({});
}

gdi_surface::~gdi_surface()
{
    draw_pending_lines();
    SelectObject(dc_, original_pen_);
    SelectObject(dc_, original_font_);
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

void gdi_surface::draw_pending_lines()
{
    if (!pending_.empty()) {
        PolylineTo(dc_, pending_.data(), static_cast<DWORD>(pending_.size()));
        pending_.clear();
    }
}

void gdi_surface::fill_rect(const s_rect& area, const s_brush& brush)
{
    draw_pending_lines();
    const brush_for_call paint(brush);
    const RECT r = rect_of(area);
    FillRect(dc_, &r, paint.handle());
}

void gdi_surface::frame_rect(const s_rect& area, const s_brush& brush)
{
    draw_pending_lines();
    const brush_for_call paint(brush);
    const RECT r = rect_of(area);
    FrameRect(dc_, &r, paint.handle());
}

void gdi_surface::select_pen(const s_pen& pen)
{
    draw_pending_lines();
    const HPEN fresh = CreatePen(pen_style_of(pen.style), std::max(1, pen.width), static_cast<COLORREF>(pen.colour & 0xFFFFFF));
    if (fresh == nullptr) {
        return;
    }
    SelectObject(dc_, fresh);
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
    pen_ = fresh;
}

void gdi_surface::move_to(int x, int y)
{
    draw_pending_lines();
    MoveToEx(dc_, x, y, nullptr);
}

void gdi_surface::line_to(int x, int y)
{
    pending_.push_back({x, y});
}

void gdi_surface::ellipse(const s_rect& bounds, const s_brush& fill)
{
    draw_pending_lines();
    const brush_for_call paint(fill);
    const HGDIOBJ before = SelectObject(dc_, paint.handle());
    Ellipse(dc_, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SelectObject(dc_, before);
}

void gdi_surface::select_font(const s_font& font)
{
    draw_pending_lines();
    const LOGFONTA description = graph_logfont(font);
    const HFONT fresh = CreateFontIndirectA(&description);
    if (fresh == nullptr) {
        return;
    }
    SelectObject(dc_, fresh);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = fresh;
}

void gdi_surface::set_text_colour(std::uint32_t colour)
{
    draw_pending_lines();
    SetTextColor(dc_, static_cast<COLORREF>(colour & 0xFFFFFF));
}

void gdi_surface::set_transparent_text(bool transparent)
{
    draw_pending_lines();
    SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE);
}

void gdi_surface::text_in_rect(const std::string& text, const s_rect& area, text_align align, text_lines lines)
{
    draw_pending_lines();
    RECT r = rect_of(area);
    UINT flags = DT_NOCLIP | DT_NOPREFIX;
    flags |= lines == text_lines::single_centred ? DT_SINGLELINE | DT_VCENTER : DT_EXPANDTABS;
    flags |= align == text_align::centre ? DT_CENTER : align == text_align::right ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc_, text.c_str(), text_length(text), &r, flags);
}

void gdi_surface::text_at(int x, int y, const std::string& text)
{
    draw_pending_lines();
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutA(dc_, x, y, text.c_str(), text_length(text));
}

s_text_size gdi_surface::text_extent(const std::string& text)
{
    SIZE size{};
    if (!GetTextExtentPoint32A(dc_, text.c_str(), text_length(text), &size)) {
        return {};
    }
    return {size.cx, size.cy};
}
