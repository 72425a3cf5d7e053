// The main window in this process: each window it makes refused in turn; background; colours.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/program.h"
#include "ui/frmRegister.h"

namespace {

struct Seen {
    int refuse = 0;  // the refused creation: 1, the main window; 2 to 4, its controls
    int created = 0;
    HWND main = nullptr;
    std::wstring box;  // the message box's title and text
    bool mainGone = false;
} seen;

// Refuses the chosen creation (the system makes windows of its own too); reads the message box
// once its texts are in, and closes it.
LRESULT CALLBACK Refuse(int code, WPARAM wp, LPARAM lp) {
    const HWND window = reinterpret_cast<HWND>(wp);
    if (code == HCBT_CREATEWND && !seen.main) seen.main = window;
    if (code == HCBT_CREATEWND &&
        (window == seen.main || reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs->hwndParent == seen.main) &&
        ++seen.created == seen.refuse)
        return 1;
    return CallNextHookEx(nullptr, code, wp, lp);
}
void CALLBACK CloseMain(HWND, UINT, UINT_PTR, DWORD) { DestroyWindow(seen.main); }

LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (code == HC_ACTION && call.message == WM_INITDIALOG) {
        wchar_t title[64] = {}, text[128] = {};
        GetWindowTextW(call.hwnd, title, 64);
        GetDlgItemTextW(call.hwnd, 0xFFFF, text, 128);
        seen.box = std::wstring(title) + L": " + text;
        seen.mainGone = !IsWindow(seen.main);
        PostMessageW(call.hwnd, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(WindowTest, OneThatCannotBeMadeInFullEndsTheProgramWithAMessage) {
    HHOOK cbt = SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId());
    HHOOK watch = SetWindowsHookExW(WH_CALLWNDPROCRET, Watch, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(cbt && watch);
    for (int refuse = 1; refuse <= 4; ++refuse) {
        seen = Seen();
        seen.refuse = refuse;
        // A window made in full would run until closed: closed after 10 s, it fails below.
        const UINT_PTR timer = SetTimer(nullptr, 0, 10000, CloseMain);
        EXPECT_EQ(qm::RunProgram(SW_SHOWNOACTIVATE), 1) << refuse;
        KillTimer(nullptr, timer);
        EXPECT_EQ(seen.box, L"Quillmark: Quillmark could not open its window.") << refuse;
        EXPECT_TRUE(seen.main && seen.mainGone) << refuse << ": the window is gone before the message";
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << refuse << ": a quit left over";
    }
    UnhookWindowsHookEx(cbt), UnhookWindowsHookEx(watch);
}

TEST(WindowTest, StaysInTheBackgroundAndFollowsTheSystemsColours) {
    for (int show : {SW_SHOWNOACTIVATE, SW_SHOWNA, SW_SHOWMINNOACTIVE}) {
        qm::frmRegister form;
        ASSERT_TRUE(form.Create(show));
        EXPECT_NE(GetActiveWindow(), form.Window()) << show;
    }
    qm::frmRegister form;
    ASSERT_TRUE(form.Create(SW_SHOWNOACTIVATE));
    static constexpr int index[] = {COLOR_BTNFACE};
    HWND back = GetDlgItem(form.Window(), qm::kBackId);
    for (COLORREF face : {RGB(255, 0, 0), GetSysColor(COLOR_BTNFACE)}) {  // the old one restored
        ASSERT_TRUE(SetSysColors(1, index, &face));
        UpdateWindow(back);
        HDC dc = GetDC(back);
        EXPECT_EQ(GetPixel(dc, 56, 30), face) << "the one face row that Back's picture leaves";
        ReleaseDC(back, dc);
    }
}

}  // namespace
