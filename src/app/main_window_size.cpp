#include "app/main_window_size.h"

namespace {

// A frame under 5 pixels is taken as the design's own.
constexpr int smallest_frame_counted = 5;

int frame_extra(int frame)
{
    return frame >= smallest_frame_counted ? 2 * frame - 8 : 0;
}

}  // namespace

s_window_extent main_window_initial_size(int frame_width, int frame_height)
{
    return {main_window_design_size.width + frame_extra(frame_width),
            main_window_design_size.height + frame_extra(frame_height)};
}
