// The capture view's picture in the window layer: where it goes, how it is
// drawn, and its two ways out (the clipboard and a bitmap file). Each works
// on the view's capture (the_screen_capture). Main thread.
#pragma once

#include <windows.h>

#include "capture/screen_capture.h"

class user_prompt;

// The picture area of the view (capture_area.h); the title's height is
// measured once, from the view's title control (15230), and kept.
RECT capture_area(HWND view);

// Nothing unless the capture is valid. A colour picture is loaded from its
// file ("dlcap.bmp" in the temporary folder), a monochrome one made from
// the stored bits as a 1-bit bitmap (set bits white, clear bits black);
// either is copied to the top-left corner of device, at most as large as
// area.
void draw_capture(HWND view, const s_screen_capture& capture, HDC device, const RECT& area);

// "Copy to Clipboard": a bitmap of the picture area's size with the capture
// drawn into it goes on the clipboard, which then owns it. False when the
// clipboard could not take it.
bool copy_capture_to_clipboard(HWND view);

// "Export to .bmp": asks for a file (the Save As dialog titled "Export to
// .bmp", "*.bmp", the path must exist, no read-only box), draws the capture
// into a bitmap of the picture area's size and writes its device-independent
// copy with write_dib_file. A file that could not be written is told
// ("Unable to write the bitmap file %s\nError Code: %d") through prompt,
// or in a message box owned by the view when prompt is null. Returns
// write_dib_file's code, or CAPTURE_EXPORT_CANCELLED.
inline constexpr int CAPTURE_EXPORT_CANCELLED = -1;
int export_capture_bmp(HWND view, user_prompt* prompt = nullptr);
