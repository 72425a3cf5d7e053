#include "ui/art/artwork.h"

extern "C" {
extern const std::uint8_t qm_art_background[], qm_art_background_end[];
extern const std::uint8_t qm_art_back[], qm_art_back_end[];
extern const std::uint8_t qm_art_continue[], qm_art_continue_end[];
}

namespace qm::art {

std::span<const std::uint8_t> Background() { return {qm_art_background, qm_art_background_end}; }
std::span<const std::uint8_t> Back() { return {qm_art_back, qm_art_back_end}; }
std::span<const std::uint8_t> Continue() { return {qm_art_continue, qm_art_continue_end}; }

}  // namespace qm::art
