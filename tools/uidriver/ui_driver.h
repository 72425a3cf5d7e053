#pragma once
// Finding windows and typing into them the way a person would, with time limits.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

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
// The middle of a window, in screen coordinates.
POINT CentreOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);

// Keyboard input through the system's input queue.
void TypeText(const std::wstring& text);
void PressKey(WORD vk);
void PressKeys(std::initializer_list<WORD> chord);

// The dialog's static text, as message boxes and prompts show it.
std::wstring DialogText(HWND dialog);

}  // namespace qmtest

namespace qmtest {

// Starts a Linux shell command (sh -c). Wine starts it when asked to, but hands back no
// handle to wait on. True when it was started.
bool StartLinuxCommand(const std::wstring& command);
// Runs xdotool on the X display the tests run on: X events reach Wine's windows the way
// a person's mouse does. Returns true when it succeeded.
bool XDo(const std::wstring& arguments);
// Screen (virtual desktop) coordinates; the desktop sits at the X screen's origin.
bool MouseTo(POINT p);
bool MouseDown();
bool MouseUp();
bool Click(POINT p);

// A rectangle of pixels as COLORREFs, read back from a 32-bit DIB that `draw` fills.
class Pixels {
  public:
    Pixels(int width, int height, const std::function<void(HDC)>& draw);
    // What is on the screen now, in a rectangle given in screen coordinates.
    static Pixels OfScreen(const RECT& area);

    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool operator==(const Pixels&) const = default;

  private:
    int width_, height_;
    std::vector<COLORREF> pixels_;
};

// A started program that is ended, whatever happens, when the test is over.
class Process {
  public:
    // `show`, when given, is the start-up show request (as a shortcut's "Run" setting makes).
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"", int show = -1);
    ~Process();
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool WaitForExit(std::chrono::milliseconds limit = 10s) const;
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

  private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace qmtest
