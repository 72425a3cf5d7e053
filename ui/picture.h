#pragma once
// A 24-bit picture held as a bottom-up DIB, drawn straight to a device context.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qm {

class Picture {
  public:
    // Accepts only an uncompressed, bottom-up, 24-bit BMP file of exactly width x height.
    static std::optional<Picture> FromBmp(std::span<const std::uint8_t> file, int width,
                                          int height);

    // The same picture turned by 180 degrees, pixel for pixel.
    Picture Turned() const;

    int Width() const noexcept { return info_.bmiHeader.biWidth; }
    int Height() const noexcept { return info_.bmiHeader.biHeight; }
    // Pixel (x, y), y counted from the top.
    COLORREF At(int x, int y) const noexcept;
    // Draws at natural size with its top-left corner at (x, y), within the DC's clipping.
    void Draw(HDC dc, int x, int y) const noexcept;

  private:
    Picture() = default;
    std::size_t Stride() const noexcept {
        return (static_cast<std::size_t>(Width()) * 3 + 3) & ~3u;
    }

    BITMAPINFO info_ = {};
    std::vector<std::uint8_t> bits_;
};

}  // namespace qm
