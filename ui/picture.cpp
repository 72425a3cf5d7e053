#include "ui/picture.h"

#include <cstring>

namespace qm {

std::optional<Picture> Picture::Blank(const Info& info) noexcept {
    Picture p;
    p.info_ = info;
    p.info_.header.biCompression = BI_RGB;
    p.info_.header.biSizeImage = 0;
    void* bits = nullptr;
    p.bitmap_.reset(
        CreateDIBSection(nullptr, p.Bitmap(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!p.bitmap_ || !bits) return std::nullopt;
    p.bits_ = static_cast<std::uint8_t*>(bits);
    return p;
}

std::optional<Picture> Picture::FromBmp(std::span<const std::uint8_t> file, int width,
                                        int height) noexcept {
    BITMAPFILEHEADER head;
    Info info = {};
    if (file.size() < sizeof head + sizeof info.header) return std::nullopt;
    std::memcpy(&head, file.data(), sizeof head);
    std::memcpy(&info.header, file.data() + sizeof head, sizeof info.header);
    const BITMAPINFOHEADER& h = info.header;
    if (head.bfType != 0x4D42 || h.biSize != sizeof h || h.biPlanes != 1 || h.biBitCount != 8 ||
        h.biCompression != BI_RLE8 || h.biClrUsed == 0 || h.biClrUsed > 256 ||
        h.biWidth != width || h.biHeight != height)  // a positive height is bottom-up
        return std::nullopt;
    const std::size_t palette = sizeof head + sizeof h;
    const std::size_t runs = palette + h.biClrUsed * sizeof(RGBQUAD);
    if (head.bfOffBits < runs || head.bfOffBits > file.size() || h.biSizeImage == 0 ||
        file.size() - head.bfOffBits < h.biSizeImage)
        return std::nullopt;
    std::memcpy(info.colours, file.data() + palette, h.biClrUsed * sizeof(RGBQUAD));

    auto p = Blank(info);
    if (!p) return std::nullopt;
    // The system decodes the runs: every Windows does, from 95 on.
    UniqueHandle<HDC, &DeleteDC> dc(CreateCompatibleDC(nullptr));
    if (!dc || SetDIBits(dc.get(), p->bitmap_.get(), 0, static_cast<UINT>(height),
                         file.data() + head.bfOffBits, reinterpret_cast<const BITMAPINFO*>(&info),
                         DIB_RGB_COLORS) != height)
        return std::nullopt;
    return p;
}

std::optional<Picture> Picture::Turned() const noexcept {
    auto t = Blank(info_);
    if (!t) return std::nullopt;
    const int w = Width(), h = Height();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* from = Row(y);
        std::uint8_t* to = t->Row(h - 1 - y);
        for (int x = 0; x < w; ++x) to[w - 1 - x] = from[x];
    }
    return t;
}

COLORREF Picture::At(int x, int y) const noexcept {
    const RGBQUAD& c = info_.colours[Row(y)[x]];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

void Picture::Draw(HDC dc, int x, int y) const noexcept {
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width()), static_cast<DWORD>(Height()), 0, 0, 0,
                      static_cast<UINT>(Height()), bits_, Bitmap(), DIB_RGB_COLORS);
}

}  // namespace qm
