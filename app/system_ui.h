#pragma once
// The one way the program reaches the platform's window services. Windows NT and its
// successors get the Unicode functions. On Windows 95, 98 and ME most of those are stubs
// that fail, so there the ANSI ones are used, chosen once at start; text stays Unicode on
// this side of the layer. Functions without text (ShowWindow, SetFocus, drawing) are called
// directly: they are the same on both.
#include <windows.h>

namespace qm::sys {

// True on Windows 95, 98 and ME: the ANSI functions are the ones that work there.
bool AnsiOnly() noexcept;

HINSTANCE Instance() noexcept;
HCURSOR ArrowCursor() noexcept;
HICON ProgramIcon(int id) noexcept;

// Registers a window class of this program; a class registered already counts as done.
bool RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background,
                         HICON icon) noexcept;
HWND CreateWindowOf(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id, void* param) noexcept;
LRESULT DefaultProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
// Puts `proc` in front of the window's own procedure, which it keeps in GWLP_USERDATA (the
// subclass functions of comctl32 6 are not on Windows 95 and NT 4.0); `proc` passes messages
// on to it with CallOriginalProc.
void Subclass(HWND window, WNDPROC proc) noexcept;
LRESULT CallOriginalProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
// Sends a message that carries no text.
LRESULT Send(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
// A window's (or, with DWLP_USER, a dialog's) long values: GWLP_USERDATA, GWLP_WNDPROC, ...
LONG_PTR GetLong(HWND window, int index) noexcept;
LONG_PTR SetLong(HWND window, int index, LONG_PTR value) noexcept;

// The message loop's steps: the next message; the dialog step, which hands a message meant
// for `dialog`'s keyboard interface (Tab between its buttons) to the system's dialog manager
// and is true when that took and processed it; dispatching the rest.
bool NextMessage(MSG& msg) noexcept;
bool DispatchDialogMessage(HWND dialog, MSG& msg) noexcept;
void Dispatch(const MSG& msg) noexcept;

// A modal dialog from an in-memory template (whose strings are Unicode for both kinds).
INT_PTR ModalDialog(const DLGTEMPLATE* dialog, HWND owner, DLGPROC proc, LPARAM param) noexcept;
// The window's text as Unicode, NUL-terminated; returns its length.
int TextOf(HWND window, wchar_t* buffer, int bufferSize) noexcept;
// The same as the ANSI functions hold it, in the ANSI code page: on Windows 95, 98 and ME an
// edit field counts its caret in these bytes.
int TextOf(HWND window, char* buffer, int bufferSize) noexcept;
// Replaces an edit field's selection with nothing.
void ClearSelection(HWND edit) noexcept;

// A modal message box. MessageBoxW is one of the few Unicode functions that work on every
// Windows, so it serves both kinds.
int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) noexcept;

HFONT CreateUiFont(int height, int weight, BYTE charset, const wchar_t* face) noexcept;
// The system's wording for a Win32 status, NUL-terminated; returns its length (0: none).
int SystemMessageText(DWORD status, wchar_t* buffer, int bufferSize) noexcept;

}  // namespace qm::sys
