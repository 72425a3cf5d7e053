// The floor for start-up: one registered class, one window shown, the message loop. Built
// with QM_TEXT_AND_BUTTONS, the second floor: the same window with a description in
// MS Sans Serif 12 pt and two push buttons, which any such window pays for (fonts, controls).
#include <windows.h>

#include <initializer_list>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"BareWindow", L"Bare window", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 376, 152, nullptr, nullptr,
                                instance, nullptr);
#ifdef QM_TEXT_AND_BUTTONS
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             L"MS Sans Serif");
    HWND label = CreateWindowExW(0, L"STATIC", L"A description of the tool, on two lines or three",
                                 WS_CHILD | WS_VISIBLE, 48, 8, 297, 65, hwnd, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (int x : {16, 240})
        CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, 80, 113, 33,
                        hwnd, nullptr, instance, nullptr);
#endif
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
