// A device-independent bitmap in global memory (bitmap_to_dib) written as
// a bitmap file: the 14-byte file header ("BM", the file size, 0, the
// offset of the pixels: 14 + header + colour table) and the block itself.
// For an uncompressed bitmap the image size is worked out from the rows,
// ((bits x width + 31) / 32) x 4 x height, and stored into the block's
// header; a compressed one keeps its own.
#pragma once

#include <windows.h>

inline constexpr int DIB_FILE_WRITTEN = 0;
inline constexpr int DIB_FILE_NOT_LOCKED = 3;       // the memory could not be locked
inline constexpr int DIB_FILE_NOT_WRITTEN = 4;      // not created, not a disk file, or a write failed
inline constexpr int DIB_FILE_NO_NAME = 19;
inline constexpr int DIB_FILE_NO_BITMAP = 20;
inline constexpr int DIB_FILE_NOT_A_40_BYTE_DIB = 21;  // another header form, or a block too small for its rows

// One of the codes above. The file is made anew, for sequential writing
// and shared with nobody while it is written; one that fails is removed.
int write_dib_file(HGLOBAL dib, const char* path);
