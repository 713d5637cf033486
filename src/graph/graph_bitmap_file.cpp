#include "graph/graph_bitmap_file.h"

// The bitmap file writers live in bmp_file.h; a tree without them still
// builds, and then reports that it writes no bitmap files.
#if __has_include("graph/bmp_file.h")
#include "graph/bmp_file.h"
#define CORVEXA2_HAS_BMP_FILE 1
#else
#define CORVEXA2_HAS_BMP_FILE 0
#endif

bool graph_bitmap_files_written()
{
    return CORVEXA2_HAS_BMP_FILE != 0;
}

bool write_graph_bitmap_file(const std::string& path, const s_pixel_image& image)
{
#if CORVEXA2_HAS_BMP_FILE
    return write_bmp_24(path, image);
#else
    (void)path;
    (void)image;
    return false;
#endif
}
