#include "graph/gdi_memory_surface_win32.h"

#include <cstring>
#include <vector>

#include "graph/gdi_surface_win32.h"

namespace {

// A memory device context with a bitmap selected, put back and deleted at
// the end of the scope (the bitmap itself stays the caller's).
class memory_context {
public:
    memory_context(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference))
    {
        if (dc_ != nullptr) {
            before_ = SelectObject(dc_, bitmap);
        }
    }
    ~memory_context()
    {
        if (dc_ != nullptr) {
            SelectObject(dc_, before_);
            DeleteDC(dc_);
        }
    }
    memory_context(const memory_context&) = delete;
    memory_context& operator=(const memory_context&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ before_ = nullptr;
};

void draw_in(HDC dc, int width, int height, HBRUSH background, const graph_drawing& draw)
{
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, background);
    gdi_surface surface(dc);
    draw(surface, {0, 0, width, height});
}

}  // namespace

HBITMAP draw_into_bitmap(HDC reference_dc, int width, int height, HBRUSH background, const graph_drawing& draw)
{
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    const HBITMAP bitmap = CreateCompatibleBitmap(reference_dc, width, height);
    if (bitmap == nullptr) {
        return nullptr;
    }
    {
        const memory_context memory(reference_dc, bitmap);
        if (memory.dc() == nullptr) {
            DeleteObject(bitmap);
            return nullptr;
        }
        draw_in(memory.dc(), width, height, background, draw);
    }
    return bitmap;
}

bool paint_through_memory(HDC window_dc, const RECT& area, HBRUSH background, const graph_drawing& draw)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return true;
    }
    const HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
    if (bitmap == nullptr) {
        return false;
    }
    bool painted = false;
    {
        const memory_context memory(window_dc, bitmap);
        if (memory.dc() != nullptr) {
            draw_in(memory.dc(), width, height, background, draw);
            painted = BitBlt(window_dc, area.left, area.top, width, height, memory.dc(), 0, 0, SRCCOPY) != 0;
        }
    }
    DeleteObject(bitmap);
    return painted;
}

bool read_bitmap_pixels(HBITMAP bitmap, s_pixel_image& image)
{
    image = s_pixel_image{};
    BITMAP description{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof description, &description) == 0 || description.bmWidth <= 0 ||
        description.bmHeight <= 0) {
        return false;
    }
    const int width = description.bmWidth;
    const int height = description.bmHeight;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    // GetDIBits may leave the image size 0: the padded size of the rows.
    info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height));
    const HDC screen = GetDC(nullptr);
    const int read = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (read != height) {
        return false;
    }
    image = make_pixel_image(width, height, 0);
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.bgr.data() + image.row_bytes() * static_cast<std::size_t>(y),
                    rows.data() + stride * static_cast<std::size_t>(y), image.row_bytes());
    }
    return true;
}
