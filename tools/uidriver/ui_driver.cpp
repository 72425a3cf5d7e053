#include "tools/uidriver/ui_driver.h"

#include <thread>

namespace qmtest {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

int WaitForNone(const std::function<int()>& mismatches) {
    int last = 0;
    WaitUntil([&] { return (last = mismatches()) == 0; });
    return last;
}

HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, className, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, className, caption)) != nullptr; });
    return found;
}

bool BringToFront(HWND hwnd) {
    if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
    return WaitUntil([&] { return GetForegroundWindow() == hwnd; });
}

std::wstring TextOf(HWND hwnd) {  // asked of the window itself: an edit field's text too
    wchar_t buffer[512] = {};
    const auto n = SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return std::wstring(buffer, static_cast<size_t>(n));
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    return std::wstring(buffer, static_cast<size_t>(GetClassNameW(hwnd, buffer, 256)));
}

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gui);
    return gui.hwndFocus;
}

std::wstring DialogText(HWND dialog) {
    std::wstring all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static") all += TextOf(c);
    return all;
}

namespace {

INPUT Key(WORD vk, WORD scan, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki = {vk, scan, flags, 0, 0};
    return in;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The mouse is moved and pressed through the X server, as a person's reaches Wine: input that
// Wine is handed directly can be overtaken by the X pointer's own, older, motion. xdotool runs
// as a Linux program, whose end Wine does not report; each step waits for what it does.
void XDo(const std::wstring& arguments) {
    std::wstring line = L"xdotool " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(L"Z:\\usr\\bin\\xdotool", line.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

void Mouse(POINT p, bool down) {
    XDo(L"mousemove " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
    WaitUntil([&] {
        POINT now = {};
        return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    });
    XDo(down ? L"mousedown 1" : L"mouseup 1");
    WaitUntil([&] { return (GetAsyncKeyState(VK_LBUTTON) < 0) == down; });
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

}  // namespace

void TypeText(const std::wstring& text) {
    for (wchar_t c : text)
        Send({Key(0, c, KEYEVENTF_UNICODE), Key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

void PressKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (WORD vk : chord) inputs.push_back(Key(vk, 0, 0));
    for (auto it = chord.end(); it != chord.begin();) inputs.push_back(Key(*--it, 0, KEYEVENTF_KEYUP));
    Send(inputs);
}

void MouseDown(POINT p) { Mouse(p, true); }
void MouseUp(POINT p) { Mouse(p, false); }
void Click(POINT p) {
    MouseDown(p);
    MouseUp(p);
}

void PutOnClipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

Pixels::Pixels(int width, int height, const std::function<void(HDC)>& draw)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info = TopDown32(width_, height_);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    draw(memory);
    GdiFlush();
    const auto* bgra = static_cast<const BYTE*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i)
        pixels_[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
}

void Pixels::Draw(HDC dc, int x, int y, bool turned) const {
    std::vector<COLORREF> bgra(pixels_.size());
    for (size_t i = 0; i < bgra.size(); ++i) {
        const COLORREF c = pixels_[turned ? bgra.size() - 1 - i : i];
        bgra[i] = RGB(GetBValue(c), GetGValue(c), GetRValue(c));
    }
    BITMAPINFO info = TopDown32(width_, height_);
    SetDIBitsToDevice(dc, x, y, width_, height_, 0, 0, 0, height_, bgra.data(), &info,
                      DIB_RGB_COLORS);
}

Pixels Pixels::OfScreen(const RECT& area) {
    return Pixels(area.right - area.left, area.bottom - area.top, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left,
               area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

Process::Process(const std::wstring& exe, const std::wstring& arguments, int show,
                 const std::wstring& output) {
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = show >= 0 ? STARTF_USESHOWWINDOW : 0;
    si.wShowWindow = static_cast<WORD>(show);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!output.empty()) {
        file = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = file;
    }
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, !output.empty(), 0, nullptr,
                   nullptr, &si, &info_);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    // From here on the program is in its message loop, waiting for input.
    if (info_.hProcess) WaitForInputIdle(info_.hProcess, 10000);
}

Process::~Process() {
    if (!info_.hProcess) return;
    if (Running()) TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Process::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

}  // namespace qmtest
