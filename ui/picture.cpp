#include "ui/picture.h"

#include <cstring>

namespace qm {

std::optional<Picture> Picture::FromBmp(std::span<const std::uint8_t> file, int width, int height) {
    BITMAPFILEHEADER head;
    BITMAPINFOHEADER info;
    if (file.size() < sizeof head + sizeof info) return std::nullopt;
    std::memcpy(&head, file.data(), sizeof head);
    std::memcpy(&info, file.data() + sizeof head, sizeof info);

    Picture p;
    p.info_.bmiHeader = info;
    if (head.bfType != 0x4D42 || info.biSize != sizeof info || info.biPlanes != 1 ||
        info.biBitCount != 24 || info.biCompression != BI_RGB || info.biClrUsed != 0 ||
        info.biWidth != width || info.biHeight != height)  // a positive height is bottom-up
        return std::nullopt;
    const std::size_t bytes = p.Stride() * static_cast<std::size_t>(height);
    if (head.bfOffBits < sizeof head + sizeof info || head.bfOffBits > file.size() ||
        file.size() - head.bfOffBits < bytes)
        return std::nullopt;
    const auto* pixels = file.data() + head.bfOffBits;
    p.bits_.assign(pixels, pixels + bytes);
    p.info_.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    return p;
}

Picture Picture::Turned() const {
    Picture t = *this;
    const std::size_t stride = Stride();
    const int w = Width(), h = Height();
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* from = bits_.data() + stride * static_cast<std::size_t>(row);
        std::uint8_t* to = t.bits_.data() + stride * static_cast<std::size_t>(h - 1 - row);
        for (int x = 0; x < w; ++x) std::memcpy(to + 3 * (w - 1 - x), from + 3 * x, 3);
    }
    return t;
}

COLORREF Picture::At(int x, int y) const noexcept {
    const std::uint8_t* p =
        bits_.data() + Stride() * static_cast<std::size_t>(Height() - 1 - y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void Picture::Draw(HDC dc, int x, int y) const noexcept {
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width()), static_cast<DWORD>(Height()), 0, 0, 0,
                      static_cast<UINT>(Height()), bits_.data(), &info_, DIB_RGB_COLORS);
}

}  // namespace qm
