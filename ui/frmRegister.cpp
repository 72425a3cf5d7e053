#include "ui/frmRegister.h"

#include "app/twips.h"
#include "ui/register_flow.h"

namespace qm {
namespace {

constexpr int kClientWidthTw = 5550, kClientHeightTw = 1890;
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr wchar_t kLabelText[] =
    L"      This tool allows you to change the registered owner and organisation of"
    L"                             your computer ";

// The window's look, in twips, in tab order.
struct ControlRow {
    const wchar_t* className;
    DWORD style;
    int id;
    int left, top, width, height;
    const wchar_t* text;
};

constexpr ControlRow kControls[] = {
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kContinueId, 240, 1200, 1695, 495, L"Continue"},
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kBackId, 3600, 1200, 1695, 495, L"Back"},
    {L"STATIC", SS_LEFT | SS_NOPREFIX, kLabelId, 720, 120, 4455, 975, kLabelText},
};

constexpr COLORREF kLabelGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

bool frmRegister::Create(int showCommand) noexcept {
    RECT frame = {0, 0, TwipsToPixels(kClientWidthTw), TwipsToPixels(kClientHeightTw)};
    AdjustWindowRectEx(&frame, kFrameStyle, FALSE, 0);
    if (!CreateTopLevel(kMainClass, kMainCaption, kFrameStyle, 0, frame.right - frame.left,
                        frame.bottom - frame.top, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                        nullptr))
        return false;
    if (!CreateControls()) return false;
    ShowWindow(Window(), showCommand);
    SetFocus(cmdContinue_);
    return true;
}

bool frmRegister::CreateControls() noexcept {
    // 12 points at the 96 dpi the layout assumes.
    labelFont_.reset(CreateFontW(-MulDiv(12, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    for (const ControlRow& row : kControls) {
        HWND control = CreateWindowExW(
            0, row.className, row.text, row.style | WS_CHILD | WS_VISIBLE,
            TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
            TwipsToPixels(row.height), Window(), reinterpret_cast<HMENU>(INT_PTR{row.id}),
            GetModuleHandleW(nullptr), nullptr);
        if (!control) return false;
        switch (row.id) {
            case kContinueId: cmdContinue_ = control; break;
            case kBackId: cmdBack_ = control; break;
            case kLabelId:
                Label1_ = control;
                SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
                break;
        }
    }
    focus_ = cmdContinue_;
    return true;
}

void frmRegister::cmdContinue_Click() noexcept {
    try {
        WindowServices services(Window());
        RunPromptAndStore(services);
    } catch (...) {
        // Out of memory is the only way here; the run is simply abandoned.
    }
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
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == Label1_) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, kLabelGreen);
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
        case WM_SETFOCUS:
            if (focus_) SetFocus(focus_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(Window(), msg, wp, lp);
}

}  // namespace qm
