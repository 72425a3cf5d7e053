#include "tests/ui_driver.h"

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
    for (auto it = chord.end(); it != chord.begin();) inputs.push_back(Key(*--it, 0, KEYEVENTF_KEYUP));
    Send(inputs);
}

std::wstring DialogText(HWND dialog) {
    std::wstring all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static") all += TextOf(c);
    return all;
}

}  // namespace qmtest
