#pragma once
// Driving a program the way a person would: windows found, keys and mouse through the
// system's input, the screen read back. Every wait has a condition and a limit.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qmtest {

using namespace std::chrono_literals;

// Polls `done` until it holds or `limit` has passed.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Polls `mismatches` until it counts none; returns the last count.
inline int WaitForNone(const std::function<int()>& mismatches) {
    int last = 0;
    WaitUntil([&] { return (last = mismatches()) == 0; });
    return last;
}

// A visible top-level window of process `pid` with this class and caption (null: any).
inline HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, className, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

inline HWND WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, className, caption)) != nullptr; });
    return found;
}

inline bool BringToFront(HWND hwnd) {  // asks once, then waits
    if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
    return WaitUntil([&] { return GetForegroundWindow() == hwnd; });
}

inline std::wstring TextOf(HWND hwnd) {  // asked of the window itself: an edit field's too
    wchar_t buffer[512] = {};
    const auto n = SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return std::wstring(buffer, static_cast<size_t>(n));
}

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    return std::wstring(buffer, static_cast<size_t>(GetClassNameW(hwnd, buffer, 256)));
}

inline POINT CentreOf(HWND hwnd) {  // on the screen
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline HWND FocusOf(HWND hwnd) {  // the focus in `hwnd`'s thread
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gui);
    return gui.hwndFocus;
}

// A dialog's static texts, as message boxes and prompts show them.
inline std::wstring DialogText(HWND dialog) {
    std::wstring all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static") all += TextOf(c);
    return all;
}

inline void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline INPUT Key(WORD vk, WORD scan, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki = {vk, scan, flags, 0, 0};
    return in;
}

inline void TypeText(const std::wstring& text) {
    for (wchar_t c : text)
        Send({Key(0, c, KEYEVENTF_UNICODE), Key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

inline void PressKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (WORD vk : chord) inputs.push_back(Key(vk, 0, 0));
    for (auto it = chord.end(); it != chord.begin();) inputs.push_back(Key(*--it, 0, KEYEVENTF_KEYUP));
    Send(inputs);
}

// The mouse is moved and pressed through the X server, as a person's reaches Wine: input that
// Wine is handed directly can be overtaken by the X pointer's own, older, motion. xdotool runs
// as a Linux program, whose end Wine does not report; each step waits for what it does.
inline void XDo(const std::wstring& arguments) {
    std::wstring line = L"xdotool " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(L"Z:\\usr\\bin\\xdotool", line.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &si, &pi))
        CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
}

inline void Mouse(POINT p, bool down) {
    XDo(L"mousemove " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
    WaitUntil([&] {
        POINT now = {};
        return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    });
    XDo(down ? L"mousedown 1" : L"mouseup 1");
    WaitUntil([&] { return (GetAsyncKeyState(VK_LBUTTON) < 0) == down; });
}
inline void MouseDown(POINT p) { Mouse(p, true); }
inline void MouseUp(POINT p) { Mouse(p, false); }
inline void Click(POINT p) { Mouse(p, true), Mouse(p, false); }

inline void PutOnClipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

// A rectangle of pixels, read back from a 32-bit top-down DIB that `draw` fills.
class Pixels {
  public:
    Pixels(int width, int height, const std::function<void(HDC)>& draw)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {
        info_.bmiHeader.biSize = sizeof(info_.bmiHeader);
        info_.bmiHeader.biWidth = width_;
        info_.bmiHeader.biHeight = -height_;
        info_.bmiHeader.biPlanes = 1;
        info_.bmiHeader.biBitCount = 32;
        HDC memory = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(memory, &info_, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, dib);
        draw(memory);
        GdiFlush();
        memcpy(pixels_.data(), bits, pixels_.size() * sizeof(DWORD));
        DeleteObject(SelectObject(memory, old));
        DeleteDC(memory);
    }
    static Pixels OfScreen(const RECT& area) {  // in screen coordinates
        return Pixels(area.right - area.left, area.bottom - area.top, [&](HDC memory) {
            HDC screen = GetDC(nullptr);
            BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen,
                   area.left, area.top, SRCCOPY);
            ReleaseDC(nullptr, screen);
        });
    }
    COLORREF At(int x, int y) const {
        const DWORD p = pixels_[static_cast<size_t>(y * width_ + x)];  // 0x00RRGGBB
        return RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Draw(HDC dc, int x, int y, bool turned = false) const {  // turned by 180 degrees
        std::vector<DWORD> copy(pixels_);
        if (turned) std::reverse(copy.begin(), copy.end());  // the last pixel first
        SetDIBitsToDevice(dc, x, y, width_, height_, 0, 0, 0, height_, copy.data(), &info_,
                          DIB_RGB_COLORS);
    }

  private:
    int width_, height_;
    std::vector<DWORD> pixels_;
    BITMAPINFO info_ = {};
};

// A started program, ended whatever happens when the object goes; the constructor returns
// once the program waits for input. `show`, when given, is the start-up show request (a
// shortcut's "Run" setting); `output`, when given, the file that gets its standard output.
class Process {
  public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"", int show = -1,
                     const std::wstring& output = L"") {
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        si.dwFlags = (show >= 0 ? STARTF_USESHOWWINDOW : 0) | (output.empty() ? 0 : STARTF_USESTDHANDLES);
        si.wShowWindow = static_cast<WORD>(show);
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        if (!output.empty())
            si.hStdOutput = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, 0, nullptr);
        CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, !output.empty(), 0, nullptr,
                       nullptr, &si, &info_);
        if (si.hStdOutput) CloseHandle(si.hStdOutput);
        if (info_.hProcess) WaitForInputIdle(info_.hProcess, 10000);
    }
    Process(const Process&) = delete;
    ~Process() {
        if (Running()) TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool WaitForExit() const { return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace qmtest
