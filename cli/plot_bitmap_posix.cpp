// Bitmap pictures need the system's graphics: the Windows build of the tool
// writes them, this one does not.
#include "plot_picture.h"

bool plot_bitmaps_written()
{
    return false;
}

bool write_plot_bitmap(const std::string&, int, int, const plot_drawing&)
{
    return false;
}
