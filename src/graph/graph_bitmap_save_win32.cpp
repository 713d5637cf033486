#include "graph/graph_bitmap_save_win32.h"

#include "app/save_file_chooser_win32.h"
#include "graph/bmp_file.h"
#include "graph/gdi_memory_surface_win32.h"
#include "graph/pixel_image.h"

namespace {

HBRUSH window_background(HWND window)
{
    const auto brush = window != nullptr ? reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)) : nullptr;
    return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

bool put_on_clipboard(HWND window, HBITMAP bitmap)
{
    if (!OpenClipboard(window)) {
        return false;
    }
    const bool put = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return put;
}

}  // namespace

bool save_as_bitmap_chooser::choose(HWND owner, std::string& path)
{
    s_save_file_request request;
    request.owner = owner;
    request.title = "Save to Bitmap";
    request.file_name = "*.bmp";
    request.filter = "Bitmap Files (*.bmp)\0*.bmp\0";
    request.default_extension = "bmp";
    return choose_save_file(request, &path);
}

HBITMAP draw_test_graph_bitmap(HWND window, const s_test_graph_picture& picture)
{
    if (picture.graph == nullptr) {
        return nullptr;
    }
    const HDC window_dc = GetDC(window);
    if (window_dc == nullptr) {
        return nullptr;
    }
    const HBITMAP bitmap = draw_into_bitmap(window_dc, picture.area.width(), picture.area.height(), window_background(window),
                                            [&](drawing_surface& surface, const s_rect& area) {
                                                draw_test_graph(*picture.graph, picture.cursors, surface, area, true);
                                            });
    ReleaseDC(window, window_dc);
    return bitmap;
}

graph_bitmap_result save_graph_bitmap(HWND window, const s_test_graph_picture& picture, bool to_clipboard,
                                      bitmap_file_chooser& chooser)
{
    std::string path;
    if (!to_clipboard && !chooser.choose(window, path)) {
        return graph_bitmap_result::cancelled;
    }
    const HBITMAP bitmap = draw_test_graph_bitmap(window, picture);
    if (bitmap == nullptr) {
        return graph_bitmap_result::failed;
    }
    if (to_clipboard) {
        if (put_on_clipboard(window, bitmap)) {
            return graph_bitmap_result::saved;  // the clipboard's now
        }
        DeleteObject(bitmap);
        return graph_bitmap_result::failed;
    }
    s_pixel_image image;
    const bool read = read_bitmap_pixels(bitmap, image);
    DeleteObject(bitmap);
    return read && write_bmp_24(path, image) ? graph_bitmap_result::saved : graph_bitmap_result::failed;
}

graph_bitmap_result save_graph_bitmap(HWND window, const s_test_graph_picture& picture, bool to_clipboard)
{
    save_as_bitmap_chooser chooser;
    return save_graph_bitmap(window, picture, to_clipboard, chooser);
}
