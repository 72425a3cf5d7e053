#pragma once
// Driving a program the way a person would: windows found, keys and mouse through the
// system's input, the screen read back. Every wait has a condition and a limit.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qmtest {

using namespace std::chrono_literals;

// Polls `done` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Polls `mismatches` until it counts none; returns the last count.
int WaitForNone(const std::function<int()>& mismatches);

// A visible top-level window of process `pid` with this class and caption (null: any).
HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption);
HWND WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption);
bool BringToFront(HWND hwnd);  // asks once, then waits

std::wstring TextOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
POINT CentreOf(HWND hwnd);   // on the screen
HWND FocusOf(HWND hwnd);     // the focus in `hwnd`'s thread
std::wstring DialogText(HWND dialog);  // its static texts, as message boxes and prompts show

void TypeText(const std::wstring& text);
void PressKeys(std::initializer_list<WORD> chord);
void MouseDown(POINT p);
void MouseUp(POINT p);
void Click(POINT p);
void PutOnClipboard(const std::wstring& text);

// A rectangle of pixels as COLORREFs, read back from a 32-bit DIB that `draw` fills.
class Pixels {
  public:
    Pixels(int width, int height, const std::function<void(HDC)>& draw);
    static Pixels OfScreen(const RECT& area);  // in screen coordinates
    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Draw(HDC dc, int x, int y, bool turned = false) const;  // turned by 180 degrees

  private:
    int width_, height_;
    std::vector<COLORREF> pixels_;
};

// A started program, ended whatever happens when the object goes; returns once the program
// waits for input. `show`, when given, is the start-up show request (a shortcut's "Run"
// setting); `output`, when given, the file that gets its standard output.
class Process {
  public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"", int show = -1,
                     const std::wstring& output = L"");
    Process(const Process&) = delete;
    ~Process();
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitForExit() const { return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const;

  private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace qmtest
