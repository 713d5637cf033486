#include "capture/dib_file_win32.h"

#include <cstdint>

#include "graph/bitmap_dib_win32.h"
#include "graph/bmp_file.h"

namespace {

constexpr WORD BITMAP_FILE_TYPE = 0x4D42;  // "BM"

bool compressed(const BITMAPINFOHEADER& header)
{
    return header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS;
}

// The block's header, table and image, or 0 when the block cannot hold
// them.
SIZE_T block_bytes(BITMAPINFOHEADER& header, SIZE_T block_size)
{
    const SIZE_T table = dib_colour_table_bytes(header);
    if (!compressed(header)) {
        const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        const std::uint64_t image =
            static_cast<std::uint64_t>(bmp_row_stride(header.biWidth, header.biBitCount)) * static_cast<std::uint64_t>(height);
        if (header.biWidth <= 0 || image == 0 || image > 0xFFFFFFFFu - 0x10000u) {
            return 0;
        }
        header.biSizeImage = static_cast<DWORD>(image);
    }
    const SIZE_T total = header.biSize + table + header.biSizeImage;
    return total <= block_size ? total : 0;
}

bool write_all(HANDLE file, const void* bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

}  // namespace

int write_dib_file(HGLOBAL dib, const char* path)
{
    if (dib == nullptr) {
        return DIB_FILE_NO_BITMAP;
    }
    if (path == nullptr || path[0] == '\0') {
        return DIB_FILE_NO_NAME;
    }
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    if (header == nullptr) {
        return DIB_FILE_NOT_LOCKED;
    }
    const SIZE_T block_size = GlobalSize(dib);
    SIZE_T bytes = 0;
    if (block_size >= sizeof(BITMAPINFOHEADER) && header->biSize == sizeof(BITMAPINFOHEADER)) {
        bytes = block_bytes(*header, block_size);
    }
    if (bytes == 0) {
        GlobalUnlock(dib);
        return DIB_FILE_NOT_A_40_BYTE_DIB;
    }
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GlobalUnlock(dib);
        return DIB_FILE_NOT_WRITTEN;
    }
    BITMAPFILEHEADER file_header{};
    file_header.bfType = BITMAP_FILE_TYPE;
    file_header.bfSize = static_cast<DWORD>(sizeof file_header + bytes);
    file_header.bfOffBits = static_cast<DWORD>(sizeof file_header + header->biSize + dib_colour_table_bytes(*header));
    const bool written = GetFileType(file) == FILE_TYPE_DISK && write_all(file, &file_header, sizeof file_header) &&
                         write_all(file, header, static_cast<DWORD>(bytes));
    const bool closed = CloseHandle(file) != 0;
    GlobalUnlock(dib);
    if (!written || !closed) {
        DeleteFileA(path);
        return DIB_FILE_NOT_WRITTEN;
    }
    return DIB_FILE_WRITTEN;
}
