// Where the capture view shows the picture: its client rectangle with the
// left edge 240 pixels in and the top moved down by twice the height of the
// view's title ("HVX Screen Capture"), as wide and high as the picture (320
// by 240 while the size is 0).
#pragma once

#include "capture/screen_capture.h"

struct s_capture_rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr int CAPTURE_AREA_LEFT_OFFSET = 240;
inline constexpr int CAPTURE_TITLE_CONTROL_ID = 15230;

s_capture_rect capture_area_in(const s_capture_rect& client, int title_height, const s_screen_capture& capture);
