// The pictures' decoding and turning against the system's decoding; damaged runs refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ui/art/artwork.h"
#include "ui/picture.h"
#include "tools/uidriver/ui_driver.h"

using Bytes = std::vector<std::uint8_t>;
template <typename T> static Bytes Patched(Bytes file, std::size_t at, T value) {
    std::memcpy(&file[at], &value, sizeof value);
    return file;
}
const Bytes kBack(qm::art::Back().begin(), qm::art::Back().end());
// Back's headers, palette (478 bytes, colour 0 black) made w x h, then runs, `cut` past the data.
static Bytes File(std::int32_t w, std::int32_t h, Bytes runs, std::size_t cut = 0) {
    runs.insert(runs.begin(), kBack.begin(), kBack.begin() + 478);
    return Patched(Patched(Patched(runs, 18, w), 22, h), 34, std::uint32_t(runs.size() - 478 - cut));
}

TEST(PictureTest, DrawsWhatTheSystemDecodesTurnedExactlyAndRefusesAnythingElse) {
    const struct { Bytes file; int w, h; bool drawn; const char* what; } cases[] = {
        {Bytes(qm::art::Background().begin(), qm::art::Background().end()), 400, 400, true, "the background"},
        {Bytes(qm::art::Continue().begin(), qm::art::Continue().end()), 142, 38, true, "Continue"},
        {kBack, 142, 28, true, "Back"},
        {File(6, 2, {3, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 4, 3, 2, 1, 3, 2, 1, 0, 1}), 6, 2, true, "absolute runs"},
        {File(6, 3, {2, 1, 0, 2, 3, 1, 1, 2, 0, 0, 1, 3, 0, 1}), 6, 3, true, "delta, short row, early end"},
        {File(4, 1, {1, 1, 0, 4, 1, 2, 3, 1, 0, 1}), 4, 1, false, "a run past the row"},
        {File(4, 2, {4, 1, 0, 0, 4, 2, 0, 0, 3, 1, 0, 1}), 4, 2, false, "a run above the picture"},
        {File(4, 2, {1, 1, 0, 2, 4, 0, 0, 1}), 4, 2, false, "a delta past the right edge"},
        {File(4, 2, {0, 2, 0, 2, 0, 1}), 4, 2, false, "a delta past the top"},
        {File(4, 1, {0, 3, 1, 2, 3, 0, 0, 1}, 3), 4, 1, false, "data that ends inside an absolute run"},
        {File(4, 1, {0, 2, 1, 0, 0, 1}, 3), 4, 1, false, "data that ends inside a delta"},
        {File(4, 1, {4, 1, 0, 0}), 4, 1, false, "no end of bitmap"},
        {Patched(kBack, 0, std::uint16_t{0x4D43}), 142, 28, false, "not BM"},
        {Patched(kBack, 28, std::uint16_t{24}), 142, 28, false, "24 bits per pixel"},
        {Patched(kBack, 30, std::uint32_t{BI_RGB}), 142, 28, false, "not run-length encoded"},
        {Patched(kBack, 46, std::uint32_t{257}), 142, 28, false, "more colours than a palette holds"},
        {Patched(kBack, 22, std::int32_t{-28}), 142, 28, false, "rows top-down"},
        {Patched(kBack, 10, std::uint32_t{0xFFFFFF}), 142, 28, false, "pixels beyond the end"},
        {kBack, 141, 28, false, "another size"},
        {Bytes(kBack.begin(), kBack.end() - 1), 142, 28, false, "cut short"},
        {Bytes(kBack.begin(), kBack.begin() + 20), 142, 28, false, "no header"},
    };
    for (const auto& [file, w, h, drawn, what] : cases) {
        const auto picture = qm::Picture::FromBmp(file, w, h);
        ASSERT_EQ(picture.has_value(), drawn) << what;
        if (!picture) continue;
        auto bits = [&](const auto& draw) { return qmtest::Pixels(w, h, draw).Bits(); };
        const auto* runs = &file[file[10] | file[11] << 8];  // where the file's header says
        const auto* info = reinterpret_cast<const BITMAPINFO*>(&file[sizeof(BITMAPFILEHEADER)]);
        const auto system = bits([&](HDC dc) { SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, runs, info, 0); });
        EXPECT_EQ(bits([&](HDC dc) { picture->Draw(dc, 0, 0); }), system) << what;
        const auto turned = bits([&](HDC dc) { picture->Turned()->Draw(dc, 0, 0); });
        EXPECT_EQ(std::vector(turned.rbegin(), turned.rend()), system) << what << ", turned";
    }
}
