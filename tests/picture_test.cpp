// The check that a linked-in picture passes before the window loads it. (How the pictures
// look, up and turned, the program's own test compares on the screen.)
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ui/art/artwork.h"
#include "ui/picture.h"

namespace {

using qm::Picture;

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
