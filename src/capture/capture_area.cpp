#include "capture/capture_area.h"

namespace {

constexpr int FALLBACK_WIDTH = 320;
constexpr int FALLBACK_HEIGHT = 240;

}  // namespace

s_capture_rect capture_area_in(const s_capture_rect& client, int title_height, const s_screen_capture& capture)
{
    const bool sized = capture.width > 0 && capture.height > 0;
    s_capture_rect area;
    area.left = client.left + CAPTURE_AREA_LEFT_OFFSET;
    area.top = client.top + 2 * title_height;
    area.right = area.left + (sized ? capture.width : FALLBACK_WIDTH);
    area.bottom = area.top + (sized ? capture.height : FALLBACK_HEIGHT);
    return area;
}
