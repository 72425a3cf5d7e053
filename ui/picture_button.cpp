#include "ui/picture_button.h"

#include <utility>

#include "app/system_ui.h"

namespace qm {
namespace {

LRESULT CALLBACK EveryPressProc(HWND button, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return sys::CallOriginalProc(button, msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg, wp, lp);
}

}  // namespace

void TakeEveryPressAsAPress(HWND button) noexcept { sys::Subclass(button, EveryPressProc); }

bool MakeLook(std::optional<PictureButtonLook>& look, std::optional<Picture> up,
              COLORREF face) noexcept {
    auto down = up ? up->Turned() : std::nullopt;
    if (!down) return false;
    look.emplace(PictureButtonLook{std::move(*up), std::move(*down), face});
    return true;
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, const PictureButtonLook& look) noexcept {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool held = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (held ? DFCS_PUSHED : 0));

    RECT inside = rc;
    InflateRect(&inside, -kButtonBorder, -kButtonBorder);
    const int saved = SaveDC(dc);
    SetBkColor(dc, look.face);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &inside, nullptr, 0, nullptr);  // fills with the face
    IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    const Picture& picture = held ? look.down : look.up;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    picture.Draw(dc, rc.left + (width - picture.Width()) / 2,
                 rc.top + (height - picture.Height()) / 2);
    RestoreDC(dc, saved);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = inside;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace qm
