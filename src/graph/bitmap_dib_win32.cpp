#include "graph/bitmap_dib_win32.h"

#include <cstring>

#include "graph/bmp_file.h"

namespace {

constexpr int BITFIELD_MASK_BYTES = 12;

WORD dib_bit_count(const BITMAP& bitmap)
{
    const int bits = bitmap.bmPlanes * bitmap.bmBitsPixel;
    return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

// The screen's device context with a palette realised in it, for as long
// as it lives.
class palette_context {
public:
    explicit palette_context(HPALETTE palette)
        : dc_(GetDC(nullptr)),
          previous_(dc_ ? SelectPalette(dc_, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)),
                                        FALSE)
                        : nullptr)
    {
        if (dc_) {
            RealizePalette(dc_);
        }
    }
    ~palette_context()
    {
        if (dc_) {
            if (previous_) {
                SelectPalette(dc_, previous_, FALSE);
            }
            ReleaseDC(nullptr, dc_);
        }
    }
    palette_context(const palette_context&) = delete;
    palette_context& operator=(const palette_context&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HPALETTE previous_;
};

}  // namespace

SIZE_T dib_colour_table_bytes(const BITMAPINFOHEADER& header)
{
    if (header.biCompression == BI_BITFIELDS) {
        return BITFIELD_MASK_BYTES;
    }
    if (header.biClrUsed != 0) {
        return static_cast<SIZE_T>(header.biClrUsed) * sizeof(RGBQUAD);
    }
    return header.biBitCount <= 8 ? (static_cast<SIZE_T>(1) << header.biBitCount) * sizeof(RGBQUAD) : 0;
}

HGLOBAL bitmap_to_dib(HBITMAP bitmap, HPALETTE palette)
{
    BITMAP description{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof description, &description) == 0 || description.bmWidth <= 0 ||
        description.bmHeight <= 0) {
        return nullptr;
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = description.bmWidth;
    header.biHeight = description.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = dib_bit_count(description);
    header.biCompression = BI_RGB;
    const SIZE_T table = dib_colour_table_bytes(header);
    const palette_context context(palette);
    if (!context.dc()) {
        return nullptr;
    }
    // First the header alone, for the size of the bits.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + table);
    if (!block) {
        return nullptr;
    }
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
    if (!info) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(info, &header, sizeof header);
    const int sized = GetDIBits(context.dc(), bitmap, 0, static_cast<UINT>(header.biHeight), nullptr, info, DIB_RGB_COLORS);
    header = info->bmiHeader;
    GlobalUnlock(block);
    if (sized == 0) {
        GlobalFree(block);
        return nullptr;
    }
    if (header.biSizeImage == 0) {
        header.biSizeImage =
            static_cast<DWORD>(bmp_row_stride(header.biWidth, header.biBitCount) * static_cast<SIZE_T>(header.biHeight));
    }
    // Then the whole block, and the bits into it.
    HGLOBAL grown = GlobalReAlloc(block, sizeof header + table + header.biSizeImage, GMEM_MOVEABLE);
    if (!grown) {
        GlobalFree(block);
        return nullptr;
    }
    block = grown;
    info = static_cast<BITMAPINFO*>(GlobalLock(block));
    if (!info) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(info, &header, sizeof header);
    auto* bits = reinterpret_cast<BYTE*>(info) + sizeof header + table;
    const int read = GetDIBits(context.dc(), bitmap, 0, static_cast<UINT>(header.biHeight), bits, info, DIB_RGB_COLORS);
    GlobalUnlock(block);
    if (read != header.biHeight) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}
