#pragma once
// A picture decoded once, by the program itself, from an 8-bit run-length-encoded BMP file into
// an 8-bit bitmap of its own, and drawn straight to a device context.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "app/unique_handle.h"

namespace qm {

class Picture {
  public:
    // Accepts only an 8-bit, run-length-encoded (BI_RLE8), bottom-up BMP file of exactly
    // width x height with its palette, whose runs all stay within the data and the picture and
    // end with the end-of-bitmap mark.
    static std::optional<Picture> FromBmp(std::span<const std::uint8_t> file, int width,
                                          int height) noexcept;

    // The same picture turned by 180 degrees, pixel for pixel.
    std::optional<Picture> Turned() const noexcept;

    int Width() const noexcept { return info_.header.biWidth; }
    int Height() const noexcept { return info_.header.biHeight; }
    // Draws at natural size with its top-left corner at (x, y), within the DC's clipping.
    void Draw(HDC dc, int x, int y) const noexcept;

  private:
    struct Info {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    };
    Picture() = default;
    // A blank bitmap of the same size and colours, for this picture's pixels to go into.
    static std::optional<Picture> Blank(const Info& info) noexcept;
    // Decodes BI_RLE8 runs into the blank bitmap; false on a run that would read past `runs`
    // or write outside the picture, or when `runs` ends before the end-of-bitmap mark.
    bool Decode(std::span<const std::uint8_t> runs) noexcept;
    const BITMAPINFO* Bitmap() const noexcept { return reinterpret_cast<const BITMAPINFO*>(&info_); }
    std::size_t Stride() const noexcept { return (static_cast<std::size_t>(Width()) + 3) & ~3u; }

    Info info_ = {};
    UniqueHandle<HBITMAP, &DeleteObject> bitmap_;
    std::uint8_t* bits_ = nullptr;  // the bitmap's pixels, one palette index each, bottom row first
};

}  // namespace qm
