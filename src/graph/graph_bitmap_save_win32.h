// "Save to Bitmap..." and "Copy to Clipboard" of the test graph window: the
// graph drawn for a bitmap (the shorter bottom margin) into a bitmap of the
// graph area's size, then written as a 24-bit bitmap file or put on the
// clipboard.
#pragma once

#include <windows.h>

#include <string>

#include "graph/drawing_surface.h"
#include "graph/test_graph.h"
#include "graph/test_graph_draw.h"

// Where the file goes: the system's Save As dialog in the program, a
// stand-in in the tests.
class bitmap_file_chooser {
public:
    virtual ~bitmap_file_chooser() = default;
    // The path chosen, or false when the user cancelled.
    virtual bool choose(HWND owner, std::string& path) = 0;
};

// The Save As dialog: title "Save to Bitmap", file name "*.bmp", the folder
// must exist.
class save_as_bitmap_chooser final : public bitmap_file_chooser {
public:
    bool choose(HWND owner, std::string& path) override;
};

// What the window draws: its graph, the crossings its scroll bars show, and
// its graph area (client coordinates; the bitmap takes its size).
struct s_test_graph_picture {
    const s_test_graph_state* graph = nullptr;
    s_test_graph_cursors cursors;
    s_rect area;
};

enum class graph_bitmap_result { saved, cancelled, failed };

// The picture drawn into a bitmap compatible with the window's device
// context, over the window class's background (the button face colour when
// the class has none). To the clipboard: opened, emptied, the bitmap put as
// CF_BITMAP (the clipboard owns it from then on), closed. To a file: the
// chooser's path, written with write_bmp_24. A cancelled choice ends
// quietly; nothing is reported to the user here.
graph_bitmap_result save_graph_bitmap(HWND window, const s_test_graph_picture& picture, bool to_clipboard,
                                      bitmap_file_chooser& chooser);
graph_bitmap_result save_graph_bitmap(HWND window, const s_test_graph_picture& picture, bool to_clipboard);

// The picture drawn into a new bitmap as save_graph_bitmap draws it; the
// caller owns it. nullptr on failure.
HBITMAP draw_test_graph_bitmap(HWND window, const s_test_graph_picture& picture);
