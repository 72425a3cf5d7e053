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
    if (!p || !p->Decode(file.subspan(head.bfOffBits, h.biSizeImage))) return std::nullopt;
    return p;
}

bool Picture::Decode(std::span<const std::uint8_t> runs) noexcept {
    // The program decodes its pictures itself: on 95, 98 and ME the system hands compressed
    // bitmaps to the display driver, and not every driver decodes them alike.
    const int w = Width(), h = Height();
    int x = 0, y = 0;  // y from the bottom, the order of the runs; pixels no run sets stay 0
    for (std::size_t i = 0; runs.size() - i >= 2;) {
        const int count = runs[i], code = runs[i + 1];
        i += 2;
        if (count == 0 && code == 0) {  // end of line
            x = 0, ++y;
        } else if (count == 0 && code == 1) {  // end of bitmap
            return true;
        } else if (count == 0 && code == 2) {  // delta: right and up by the next two bytes
            if (runs.size() - i < 2) return false;
            x += runs[i], y += runs[i + 1], i += 2;
            if (x > w || y >= h) return false;
        } else {  // `count` pixels of colour `code`, or `code` pixels as they are, padded to a word
            const int n = count > 0 ? count : code;
            const std::size_t padded = count > 0 ? 0 : (static_cast<std::size_t>(n) + 1) & ~1u;
            if (y >= h || n > w - x || runs.size() - i < padded) return false;
            std::uint8_t* to = bits_ + Stride() * static_cast<std::size_t>(y) + x;
            for (int k = 0; k < n; ++k) to[k] = count > 0 ? code : runs[i + k];
            x += n, i += padded;
        }
    }
    return false;
}

std::optional<Picture> Picture::Turned() const noexcept {
    auto t = Blank(info_);
    if (!t) return std::nullopt;
    // Pixel (x, y) goes to (w - 1 - x, h - 1 - y): in the rows as stored, one stretch read
    // backwards from the last pixel of the top row (padding lands in padding).
    const std::size_t last = Stride() * static_cast<std::size_t>(Height() - 1) + Width() - 1;
    for (std::size_t i = 0; i <= last; ++i) t->bits_[i] = bits_[last - i];
    return t;
}

void Picture::Draw(HDC dc, int x, int y) const noexcept {
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width()), static_cast<DWORD>(Height()), 0, 0, 0,
                      static_cast<UINT>(Height()), bits_, Bitmap(), DIB_RGB_COLORS);
}

}  // namespace qm
