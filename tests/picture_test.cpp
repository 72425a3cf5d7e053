// The pictures linked into the program: each decoded as the system decodes the file, turned
// pixel for pixel, and refused when it is not the bitmap expected. (How they look in the
// window, the program's own test compares on the screen.)
#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <tuple>
#include <vector>

#include "ui/art/artwork.h"
#include "ui/picture.h"

namespace {

using qm::Picture;

TEST(PictureTest, HoldsThePixelsTheSystemDecodesAndTurnsThemExactly) {
    const std::tuple<std::span<const std::uint8_t>, int, int> arts[] = {
        {qm::art::Background(), 400, 400}, {qm::art::Continue(), 142, 38}, {qm::art::Back(), 142, 28}};
    for (auto [file, w, h] : arts) {
        const auto picture = Picture::FromBmp(file, w, h);
        ASSERT_TRUE(picture) << w;
        const auto turned = picture->Turned();
        ASSERT_TRUE(turned) << w;
        // The system's own decoding of the file, into 32-bit pixels, top row first.
        const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
        const auto* head = reinterpret_cast<const BITMAPFILEHEADER*>(file.data());
        BITMAPINFO out = {};
        out.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &out, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(dc, bitmap);
        ASSERT_EQ(SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, file.data() + head->bfOffBits, info,
                                    DIB_RGB_COLORS), h);
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto p = static_cast<const std::uint32_t*>(bits)[y * w + x];
                const COLORREF want = RGB(p >> 16 & 255, p >> 8 & 255, p & 255);
                differ += picture->At(x, y) != want || turned->At(w - 1 - x, h - 1 - y) != want;
            }
        EXPECT_EQ(differ, 0) << w << " x " << h;
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST(PictureTest, RefusesAnythingButTheExpectedBitmap) {
    const auto good = qm::art::Back();
    auto damaged = [&](size_t at, auto value) {
        std::vector<std::uint8_t> copy(good.begin(), good.end());
        std::memcpy(copy.data() + at, &value, sizeof value);
        return Picture::FromBmp(copy, 142, 28).has_value();
    };
    EXPECT_FALSE(damaged(0, std::uint16_t{0x4D43})) << "not BM";
    EXPECT_FALSE(damaged(28, std::uint16_t{24})) << "24 bits per pixel";
    EXPECT_FALSE(damaged(30, std::uint32_t{BI_RGB})) << "not run-length encoded";
    EXPECT_FALSE(damaged(46, std::uint32_t{257})) << "more colours than a palette holds";
    EXPECT_FALSE(damaged(22, std::int32_t{-28})) << "rows top-down";
    EXPECT_FALSE(damaged(10, std::uint32_t{0xFFFFFF})) << "pixels beyond the end";
    EXPECT_FALSE(Picture::FromBmp(good, 141, 28)) << "another size";
    EXPECT_FALSE(Picture::FromBmp(good.first(good.size() - 1), 142, 28)) << "cut short";
    EXPECT_FALSE(Picture::FromBmp(good.first(20), 142, 28));
}

}  // namespace
