#pragma once
// Finding windows and typing into them the way a person would, with time limits.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace qmtest {

using namespace std::chrono_literals;

// Polls `done` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);

// A visible top-level window of process `pid` with this class and caption (0: any process).
HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption);
HWND WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption,
                     std::chrono::milliseconds limit = 10s);
// Waits until `hwnd` is the foreground window, asking for it once.
bool BringToFront(HWND hwnd);

std::wstring TextOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);

// Keyboard input through the system's input queue.
void TypeText(const std::wstring& text);
void PressKey(WORD vk);
void PressKeys(std::initializer_list<WORD> chord);

// The dialog's static text, as message boxes and prompts show it.
std::wstring DialogText(HWND dialog);

}  // namespace qmtest
