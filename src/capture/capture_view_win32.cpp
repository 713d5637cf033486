#include "capture/capture_view_win32.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/message_box_prompt_win32.h"
#include "app/save_file_chooser_win32.h"
#include "capture/capture_area.h"
#include "capture/capture_texts.h"
#include "capture/dib_file_win32.h"
#include "graph/bitmap_dib_win32.h"

namespace {

// The capture's own bitmap: loaded from the colour file, or made from the
// monochrome bits. Null when there is none.
HBITMAP picture_bitmap(const s_screen_capture& capture)
{
    if (capture.from_file) {
        const std::string file = capture_colour_file_path();
        return static_cast<HBITMAP>(
            LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    return CreateBitmap(capture.width, capture.height, 1, 1, capture.pixels);
}

// A bitmap of the picture area's size, made for the view's window (a memory
// surface is monochrome), white, with the capture drawn into it.
HBITMAP area_bitmap(HWND view)
{
    const RECT area = capture_area(view);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const HDC window = GetDC(view);
    if (!window) {
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(window, width, height);
    const HDC memory = bitmap ? CreateCompatibleDC(window) : nullptr;
    if (memory) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        PatBlt(memory, 0, 0, width, height, WHITENESS);
        draw_capture(view, the_screen_capture(), memory, RECT{0, 0, width, height});
        SelectObject(memory, previous);
        DeleteDC(memory);
    } else if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(view, window);
    return bitmap;
}

void tell_not_written(HWND view, user_prompt* prompt, const std::string& path, int code)
{
    char text[MAX_PATH + 128];
    std::snprintf(text, sizeof text, CAPTURE_FILE_FAILED_CODE_TEXT, path.c_str(), code);
    message_box_prompt boxes(view);
    (prompt ? *prompt : boxes).tell(text, CAPTURE_FILE_FAILED_CAPTION, prompt_icon::warning);
}

}  // namespace

RECT capture_area(HWND view)
{
    static int title_height = 0;
    if (title_height == 0) {
        RECT title{};
        const HWND control = GetDlgItem(view, CAPTURE_TITLE_CONTROL_ID);
        if (control && GetWindowRect(control, &title)) {
            title_height = title.bottom - title.top;
        }
    }
    RECT client{};
    GetClientRect(view, &client);
    const s_capture_rect area =
        capture_area_in({client.left, client.top, client.right, client.bottom}, title_height, the_screen_capture());
    return RECT{area.left, area.top, area.right, area.bottom};
}

void draw_capture(HWND, const s_screen_capture& capture, HDC device, const RECT& area)
{
    if (!capture.valid || !capture_size_fits(capture)) {
        return;
    }
    const HBITMAP picture = picture_bitmap(capture);
    if (!picture) {
        return;
    }
    const HDC memory = CreateCompatibleDC(device);
    if (memory) {
        const HGDIOBJ previous = SelectObject(memory, picture);
        // A 1-bit source is drawn in the target's text colour (clear bits)
        // and background colour (set bits).
        const COLORREF text = SetTextColor(device, RGB(0, 0, 0));
        const COLORREF background = SetBkColor(device, RGB(255, 255, 255));
        const int width = std::min<int>(capture.width, area.right - area.left);
        const int height = std::min<int>(capture.height, area.bottom - area.top);
        BitBlt(device, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SetTextColor(device, text);
        SetBkColor(device, background);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(picture);
}

bool copy_capture_to_clipboard(HWND view)
{
    const HBITMAP bitmap = area_bitmap(view);
    if (!bitmap) {
        return false;
    }
    bool taken = false;
    if (OpenClipboard(view)) {
        EmptyClipboard();
        taken = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
        CloseClipboard();
    }
    if (!taken) {
        DeleteObject(bitmap);
    }
    return taken;
}

int export_capture_bmp(HWND view, user_prompt* prompt)
{
    s_save_file_request request;
    request.owner = view;
    request.title = CAPTURE_SAVE_TITLE;
    request.file_name = "*.bmp";
    std::string path;
    if (!choose_save_file(request, &path)) {
        return CAPTURE_EXPORT_CANCELLED;
    }
    const HBITMAP bitmap = area_bitmap(view);
    const HGLOBAL dib = bitmap ? bitmap_to_dib(bitmap, nullptr) : nullptr;
    const int code = write_dib_file(dib, path.c_str());
    if (dib) {
        GlobalFree(dib);
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    if (code != DIB_FILE_WRITTEN) {
        tell_not_written(view, prompt, path, code);
    }
    return code;
}
