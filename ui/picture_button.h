#pragma once
// Push buttons that show a picture instead of a caption (owner-drawn).
#include <windows.h>

#include "ui/picture.h"

namespace qm {

// Width of the platform's 3-D push-button border on each side.
inline constexpr int kButtonBorder = 2;

struct PictureButtonLook {
    Picture up;
    Picture down;  // `up` turned, shown while the button is held down
    COLORREF face;
};

// Makes `look` the look of a button that shows `up`; false when `up` is missing or its turn
// could not be made.
bool MakeLook(std::optional<PictureButtonLook>& look, std::optional<Picture> up,
              COLORREF face) noexcept;

// The platform's push-button border; inside it the face colour and the picture, centred on
// the button and clipped to the inside of the border; the focus rectangle when focused.
void DrawPictureButton(const DRAWITEMSTRUCT& item, const PictureButtonLook& look) noexcept;

// An owner-drawn button takes a press that follows the last one within the double-click time
// as a double click: not pushed, not clicked. A push button takes every press as a press, so
// that two clicks in quick succession are two clicks.
void TakeEveryPressAsAPress(HWND button) noexcept;

}  // namespace qm
