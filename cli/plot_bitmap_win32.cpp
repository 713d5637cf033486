// Bitmap pictures through GDI: the drawing on a memory bitmap compatible
// with the screen, read back as 24-bit rows and written as a bitmap file.
#include <windows.h>

#include "graph/gdi_memory_surface_win32.h"
#include "graph/bmp_file.h"
#include "plot_picture.h"

bool plot_bitmaps_written()
{
    return true;
}

bool write_plot_bitmap(const std::string& path, int width, int height, const plot_drawing& draw)
{
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    const HBITMAP bitmap = draw_into_bitmap(screen, width, height, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), draw);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        return false;
    }
    s_pixel_image image;
    const bool read = read_bitmap_pixels(bitmap, image);
    DeleteObject(bitmap);
    return read && write_bmp_24(path, image);
}
