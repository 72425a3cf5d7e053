#pragma once

namespace qm {

// Layout is given in twips; the program is not DPI-aware, so 15 twips make a pixel.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace qm
