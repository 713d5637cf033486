// The main window's initial size: its design size of 1024 by 625 pixels plus
// what a sizing frame wider (or taller) than the design's 4 pixels adds.
// It is also the smallest size the window can be dragged to.
#pragma once

struct s_window_extent {
    int width = 0;
    int height = 0;
};

inline constexpr s_window_extent main_window_design_size{1024, 625};

// frame_width and frame_height: the system's SM_CXFRAME and SM_CYFRAME.
s_window_extent main_window_initial_size(int frame_width, int frame_height);
