// A device-independent copy of a bitmap, for the clipboard and for bitmap
// files: one movable global memory block holding a 40-byte information
// header, the colour table (2, 16 or 256 entries of 4 bytes for 1, 4 and 8
// bits a pixel; none for 24) and the pixel rows, bottom-up, each padded to
// 4 bytes. The bit count is the bitmap's planes x bits a pixel rounded up
// to 1, 4, 8 or 24.
#pragma once

#include <windows.h>

// The copy, read through palette (the default palette when null); null on
// any failure. The bitmap must not be selected into a device context. The
// caller owns the block (GlobalFree, or hand it to the clipboard).
HGLOBAL bitmap_to_dib(HBITMAP bitmap, HPALETTE palette);

// The bytes of the block's colour table: biClrUsed entries when set, else
// 2, 16 or 256 for 1, 4 and 8 bits a pixel, none above; the three masks of
// a BI_BITFIELDS bitmap count as a table of 12 bytes.
SIZE_T dib_colour_table_bytes(const BITMAPINFOHEADER& header);
