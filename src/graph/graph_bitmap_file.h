// Writing a drawn graph as a 24-bit bitmap file: the one place the graph
// pictures reach the bitmap file writer (write_bmp_24 of bmp_file.h).
#pragma once

#include <string>

#include "graph/pixel_image.h"

// Whether a bitmap file writer is built into this program.
bool graph_bitmap_files_written();

// Writes the picture to path (replacing a file there) with write_bmp_24;
// false when any write fails or no writer is built in.
bool write_graph_bitmap_file(const std::string& path, const s_pixel_image& image);
