#include "ui/frmRegister.h"

#include <iterator>

#include "app/system_ui.h"
#include "app/twips.h"
#include "ui/art/artwork.h"
#include "ui/register_flow.h"

namespace qm {
namespace {

constexpr int kClientWidthTw = 5550, kClientHeightTw = 1890;
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr wchar_t kLabelText[] =
    L"      This tool allows you to change the registered owner and organisation of"
    L"                             your computer ";
static_assert(std::size(kLabelText) - 1 == 120);

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The window's controls, in twips, in tab order (Continue 0, Back 1, Label1 2).
struct ControlRow {
    const wchar_t* className;
    DWORD style;
    int id;
    int left, top, width, height;
    const wchar_t* text;  // the buttons' texts are never drawn; they name them for readers
};

constexpr ControlRow kControls[] = {
    {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, kContinueId, 240, 1200, 1695, 495, L"Continue"},
    {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, kBackId, 3600, 1200, 1695, 495, L"Back"},
    {L"STATIC", SS_LEFT | SS_NOPREFIX, kLabelId, 720, 120, 4455, 975, kLabelText},
};

// A fixed frame keeps its size: a request to start maximised (a shortcut set to
// "Maximized", start /max) shows the window normally. Minimised stays minimised.
int ShowCommandForFixedFrame(int requested) noexcept {
    return requested == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : requested;
}

}  // namespace

bool frmRegister::Create(int showCommand) noexcept {
    if (!LoadPictures()) return false;
    RECT frame = {0, 0, TwipsToPixels(kClientWidthTw), TwipsToPixels(kClientHeightTw)};
    AdjustWindowRectEx(&frame, kFrameStyle, FALSE, 0);
    if (!CreateTopLevel(kMainClass, kMainCaption, kFrameStyle, frame.right - frame.left,
                        frame.bottom - frame.top, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                        sys::ProgramIcon(1)) ||
        !CreateControls()) {
        Discard();  // while the font and the pictures its controls use are still here
        return false;
    }
    ShowWindow(Window(), ShowCommandForFixedFrame(showCommand));
    // The system may still apply the start-up request on its own (SW_SHOWDEFAULT, or the
    // first window a program shows normally).
    if (IsZoomed(Window())) ShowWindow(Window(), SW_RESTORE);
    // Setting the focus would also activate the window: a start that asked for no activation
    // (SW_SHOWMINNOACTIVE, SW_SHOWNOACTIVATE, SW_SHOWNA) leaves it to the user's first click,
    // which puts the focus on Continue through WM_SETFOCUS.
    if (GetActiveWindow() == Window()) SetFocus(cmdContinue_);
    return true;
}

bool frmRegister::LoadPictures() noexcept {
    background_ = Picture::FromBmp(art::Background(), 400, 400);
    return background_ &&
           MakeLook(continueLook_, Picture::FromBmp(art::Continue(), 142, 38), kBlack) &&
           MakeLook(backLook_, Picture::FromBmp(art::Back(), 142, 28), GetSysColor(COLOR_BTNFACE));
}

bool frmRegister::CreateControls() noexcept {
    // 12 points at the 96 dpi the layout assumes.
    labelFont_.reset(
        sys::CreateUiFont(-MulDiv(12, 96, 72), FW_NORMAL, ANSI_CHARSET, L"MS Sans Serif"));
    if (!labelFont_) return false;
    for (const ControlRow& row : kControls) {
        HWND control = sys::CreateWindowOf(
            row.className, row.text, row.style | WS_CHILD | WS_VISIBLE, TwipsToPixels(row.left),
            TwipsToPixels(row.top), TwipsToPixels(row.width), TwipsToPixels(row.height), Window(),
            row.id, nullptr);
        if (!control) return false;
        switch (row.id) {
            case kContinueId:
                cmdContinue_ = control;
                TakeEveryPressAsAPress(control);
                break;
            case kBackId:
                cmdBack_ = control;
                TakeEveryPressAsAPress(control);
                break;
            case kLabelId:
                Label1_ = control;
                sys::Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
                break;
        }
    }
    focus_ = cmdContinue_;
    return true;
}

const PictureButtonLook* frmRegister::LookOf(UINT id) const noexcept {
    if (id == kContinueId) return &*continueLook_;
    if (id == kBackId) return &*backLook_;
    return nullptr;
}

void frmRegister::cmdContinue_Click() noexcept {
    WindowServices services(Window());
    RunPromptAndStore(services);
}

void frmRegister::cmdBack_Click() noexcept { DestroyWindow(Window()); }

LRESULT frmRegister::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED) {
                if (LOWORD(wp) == kContinueId) cmdContinue_Click();
                if (LOWORD(wp) == kBackId) cmdBack_Click();
                return 0;
            }
            break;
        case WM_ERASEBKGND: {
            // Black, with the picture at natural size from the top-left corner; the client
            // area clips it, so it never scales.
            HDC dc = reinterpret_cast<HDC>(wp);
            RECT client;
            GetClientRect(Window(), &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            background_->Draw(dc, 0, 0);
            return 1;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (const PictureButtonLook* look = LookOf(item.CtlID)) {
                DrawPictureButton(item, *look);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == Label1_) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, kGreen);
                SetBkColor(dc, kBlack);
                return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(Window(), f)) focus_ = f;
            }
            break;
        case WM_SYSCOLORCHANGE:
            // Back's face is the system's button face, in whatever scheme is chosen now.
            backLook_->face = GetSysColor(COLOR_BTNFACE);
            if (cmdBack_) InvalidateRect(cmdBack_, nullptr, FALSE);
            break;
        case WM_SETFOCUS:
            if (focus_) SetFocus(focus_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return sys::DefaultProc(Window(), msg, wp, lp);
}

}  // namespace qm
