#include "tools/uidriver/ui_driver.h"

#include <cstdio>
#include <thread>
#include <vector>

namespace qmtest {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
}

HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, className, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((pid == 0 || owner == pid) && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption,
                     std::chrono::milliseconds limit) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, className, caption)) != nullptr; }, limit);
    return found;
}

bool BringToFront(HWND hwnd) {
    if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
    return WaitUntil([&] { return GetForegroundWindow() == hwnd; }, 5s);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    const int n = GetWindowTextW(hwnd, buffer, 512);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    const int n = GetClassNameW(hwnd, buffer, 256);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

namespace {

INPUT Key(WORD vk, WORD scan, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

void Send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Give the receiving thread the chance to take each batch before the next one.
    std::this_thread::sleep_for(30ms);
}

}  // namespace

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        std::vector<INPUT> inputs = {Key(0, c, KEYEVENTF_UNICODE),
                                     Key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        Send(inputs);
    }
}

void PressKey(WORD vk) { PressKeys({vk}); }

void PressKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (WORD vk : chord) inputs.push_back(Key(vk, 0, 0));
    for (auto it = chord.end(); it != chord.begin();)
        inputs.push_back(Key(*--it, 0, KEYEVENTF_KEYUP));
    Send(inputs);
}

std::wstring DialogText(HWND dialog) {
    std::wstring all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static") all += TextOf(c);
    return all;
}

}  // namespace qmtest

namespace qmtest {

bool StartLinuxCommand(const std::wstring& command) {
    std::wstring line = L"sh -c \"" + command + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
}

bool XDo(const std::wstring& arguments) {
    wchar_t display[64] = {};
    if (!GetEnvironmentVariableW(L"QM_DISPLAY", display, 64)) return false;
    SetEnvironmentVariableW(L"DISPLAY", display);
    // With no handle to wait on, the shell leaves xdotool's exit status in a file once it
    // is done.
    static int calls = 0;
    const std::wstring name =
        L"qm-xdo-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++calls);
    const std::wstring done = L"Z:\\tmp\\" + name;
    if (!StartLinuxCommand(L"xdotool " + arguments + L"; echo $? >/tmp/" + name +
                           L".part && mv /tmp/" + name + L".part /tmp/" + name))
        return false;
    if (!WaitUntil([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        return false;
    char status[8] = {};
    if (FILE* f = _wfopen(done.c_str(), L"rb")) {
        fread(status, 1, sizeof status - 1, f);
        fclose(f);
    }
    DeleteFileW(done.c_str());
    return status[0] == '0';
}

bool MouseTo(POINT p) {
    return XDo(L"mousemove " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
}
bool MouseDown() { return XDo(L"mousedown 1"); }
bool MouseUp() { return XDo(L"mouseup 1"); }
bool Click(POINT p) { return MouseTo(p) && MouseDown() && MouseUp(); }

Pixels::Pixels(int width, int height, const std::function<void(HDC)>& draw)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
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

Pixels Pixels::OfScreen(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    return Pixels(width, height, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

Process::Process(const std::wstring& exe, const std::wstring& arguments, int show) {
    std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (show >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(show);
    }
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                   &info_);
}

Process::~Process() {
    if (!info_.hProcess) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::WaitForExit(std::chrono::milliseconds limit) const {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

}  // namespace qmtest
