#pragma once
// Driving a program as a person would, through the system's input; each step waits for its
// effect, and the first whose effect does not come ends the test with the screen saved.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qmtest {

using namespace std::chrono_literals;

using testing::PrintToString;

// Asks a window; one that does not answer in 10 s, longer than any stall, is taken to say 0.
inline LRESULT Ask(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 10000, &result) ? result : 0;
}

inline std::wstring TextOf(HWND hwnd) {  // asked of the window itself: an edit field's too
    wchar_t buffer[512] = {};
    const auto n = Ask(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
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

inline std::wstring DialogText(HWND dialog) {
    std::wstring all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static") all += TextOf(c);
    return all;
}

class Pixels {
  public:
    Pixels(int width, int height, const std::function<void(HDC)>& draw)
        : pixels_(static_cast<size_t>(width * height)) {
        info_.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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
    void Save(const std::string& path) const {  // as a 32-bit BMP file
        const DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
        const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info_.bmiHeader;
        const BITMAPFILEHEADER head = {0x4D42, offset + bytes, 0, 0, offset};
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&head), sizeof head);
        out.write(reinterpret_cast<const char*>(&info_.bmiHeader), sizeof info_.bmiHeader);
        out.write(reinterpret_cast<const char*>(pixels_.data()), bytes);
    }
    static Pixels OfScreen(const RECT& area) {  // in screen coordinates
        return Pixels(area.right - area.left, area.bottom - area.top, [&](HDC memory) {
            HDC screen = GetDC(nullptr);
            BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen,
                   area.left, area.top, SRCCOPY);
            ReleaseDC(nullptr, screen);
        });
    }
    int Differences(const Pixels& other) const {  // in colour: a pixel's fourth byte is unused
        int n = 0;
        for (size_t i = 0; i < pixels_.size(); ++i) n += ((pixels_[i] ^ other.pixels_[i]) & 0xFFFFFF) != 0;
        return n;
    }
    std::vector<DWORD> Bits() const { return pixels_; }  // top row first
    int Width() const { return info_.bmiHeader.biWidth; }
    int Height() const { return -info_.bmiHeader.biHeight; }
    void Draw(HDC dc, int x, int y) const {
        SetDIBitsToDevice(dc, x, y, Width(), Height(), 0, 0, 0, Height(), pixels_.data(), &info_,
                          DIB_RGB_COLORS);
    }

  private:
    std::vector<DWORD> pixels_;
    BITMAPINFO info_ = {};
};

// Ends the test, with the screen saved in the test's folder.
[[noreturn]] inline void StepFailed(const std::string& step, const std::string& saw) {
    static int count = 0;
    char screen[64];
    wsprintfA(screen, "ui-failure-%lu-%d.bmp", GetCurrentProcessId(), ++count);
    Pixels::OfScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)})
        .Save(screen);
    const std::string message = step + ": " + saw + "\nthe screen: " + screen + ", in the test's folder";
    ADD_FAILURE() << message;
    throw testing::AssertionException(testing::TestPartResult(
        testing::TestPartResult::kFatalFailure, __FILE__, __LINE__, message.c_str()));
}

inline void Await(const std::string& step, const std::function<bool()>& done,
                  const std::function<std::string()>& saw = [] { return std::string("not within 10 s"); }) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    for (; !done(); std::this_thread::sleep_for(20ms))
        if (std::chrono::steady_clock::now() > end) StepFailed(step, saw());
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

inline HWND AwaitTopLevel(const std::string& step, DWORD pid, const wchar_t* className,
                          const wchar_t* caption) {
    HWND found = nullptr;
    Await(step, [&] { return (found = FindTopLevel(pid, className, caption)) != nullptr; });
    return found;
}

// Wine takes the X server's keyboard state when a window is activated (a held Ctrl is let go):
// keys wait until the focus is in the window and its program waits for input.
inline void BringToFront(HWND hwnd) {
    if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
    Await("bring a window to the front", [&] {
        return GetForegroundWindow() == hwnd && (FocusOf(hwnd) == hwnd || IsChild(hwnd, FocusOf(hwnd)));
    });
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE program = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    const DWORD idle = program ? WaitForInputIdle(program, 10000) : WAIT_FAILED, error = GetLastError();
    if (program) CloseHandle(program);
    if (idle != 0) StepFailed("the program to wait for input", idle == WAIT_TIMEOUT ? "not within 10 s" : "error " + std::to_string(error));
}

inline void Send(std::vector<INPUT> inputs) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        StepFailed("send keys", "the system did not take them, error " + std::to_string(GetLastError()));
}

inline INPUT Key(WORD vk, WORD scan, DWORD flags) { return {INPUT_KEYBOARD, {.ki = {vk, scan, flags, 0, 0}}}; }

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

// Through the X server, as a person's: input handed to Wine directly can be overtaken by the X
// pointer's own older motion. Wine does not report xdotool's end: each step waits for its effect.
inline void XDo(const std::wstring& arguments) {
    std::wstring line = L"xdotool " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(L"Z:\\usr\\bin\\xdotool", line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi)) {
        const std::string error = std::to_string(GetLastError());
        StepFailed(PrintToString(line), "the input helper did not start, error " + error);
    }
    CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
}

inline void Mouse(POINT p, bool down) {
    const std::string at = "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    POINT now = {};
    XDo(L"mousemove " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
    Await("move the pointer to " + at, [&] { return GetCursorPos(&now) && now.x == p.x && now.y == p.y; },
          [&] { return "it is at (" + std::to_string(now.x) + "," + std::to_string(now.y) + ")"; });
    const std::string step = (down ? "press the button at " : "release the button at ") + at;
    XDo(down ? L"mousedown 1" : L"mouseup 1");
    Await(step, [&] { return (GetAsyncKeyState(VK_LBUTTON) < 0) == down; });
    HWND under = WindowFromPoint(p);
    if (ClassOf(under) != L"Button") return;
    Await(step + ", the button", [&] { return ((Ask(under, BM_GETSTATE) & BST_PUSHED) != 0) == down; });
}
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

// A started program, ended when the object goes; returns once it waits for input. `show`: the
// start-up show request (a shortcut's "Run" setting).
class Process {
  public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"", int show = -1) {
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        si.dwFlags = show >= 0 ? STARTF_USESHOWWINDOW : 0;
        si.wShowWindow = static_cast<WORD>(show);
        EXPECT_EQ(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &si, &info_) ? 0 : GetLastError(), 0u)
            << "the system's error starting " << PrintToString(exe);
        if (info_.hProcess) WaitForInputIdle(info_.hProcess, 10000);
    }
    Process(const Process&) = delete;
    ~Process() {
        if (Running()) TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread), CloseHandle(info_.hProcess);
    }
    DWORD Id() const { return info_.dwProcessId; }
    DWORD AwaitExit(const std::string& step) const {  // returns the exit code
        Await(step, [&] { return !Running(); }, [] { return std::string("still running after 10 s"); });
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

  private:
    PROCESS_INFORMATION info_ = {};
};


}  // namespace qmtest
