#pragma once
// The window's pictures as the BMP files in this folder, linked into the program.
#include <cstdint>
#include <span>

namespace qm::art {

std::span<const std::uint8_t> Background();  // 400 x 400
std::span<const std::uint8_t> Back();        // 142 x 28
std::span<const std::uint8_t> Continue();    // 142 x 38

}  // namespace qm::art
