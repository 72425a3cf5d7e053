#include "app/system_ui.h"

namespace qm::sys {
namespace {

// Which functions work here, decided at the first call, before the first window. Not by an
// initialiser: no run-time library runs those before the program's own code.
enum class Kind { kUnknown, kUnicode, kAnsi };
constinit Kind kind = Kind::kUnknown;

// A program text in the ANSI code page, for the ANSI functions; NUL-terminated.
class Ansi {
  public:
    explicit Ansi(const wchar_t* text) noexcept {
        if (!text) return;
        const int n =
            WideCharToMultiByte(CP_ACP, 0, text, -1, bytes_, sizeof bytes_, nullptr, nullptr);
        if (n == 0) bytes_[sizeof bytes_ - 1] = '\0';  // cut short: keep what fitted
        null_ = false;
    }
    const char* get() const noexcept { return null_ ? nullptr : bytes_; }

  private:
    char bytes_[512] = {};
    bool null_ = true;
};

// An ANSI text back into Unicode; returns the length.
int ToUnicode(const char* text, int length, wchar_t* buffer, int bufferSize) noexcept {
    int n = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, buffer, bufferSize - 1) : 0;
    buffer[n] = L'\0';
    return n;
}

}  // namespace

bool AnsiOnly() noexcept {
    // The high bit of GetVersion marks 95, 98 and ME.
    if (kind == Kind::kUnknown) kind = (GetVersion() & 0x80000000u) ? Kind::kAnsi : Kind::kUnicode;
    return kind == Kind::kAnsi;
}

HINSTANCE Instance() noexcept {
    return AnsiOnly() ? GetModuleHandleA(nullptr) : GetModuleHandleW(nullptr);
}

HCURSOR ArrowCursor() noexcept {
    return AnsiOnly() ? LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))
                      : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
}

HICON ProgramIcon(int id) noexcept {
    return AnsiOnly() ? LoadIconA(Instance(), MAKEINTRESOURCEA(id))
                      : LoadIconW(Instance(), MAKEINTRESOURCEW(id));
}

bool RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background,
                         HICON icon) noexcept {
    // The same class description in the ANSI or the Unicode form.
    auto describe = [&](auto& wc, auto className) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = Instance();
        wc.hCursor = ArrowCursor();
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        wc.hIcon = icon;
        return &wc;
    };
    WNDCLASSEXA ansi = {};
    WNDCLASSEXW wide = {};
    const ATOM atom = AnsiOnly() ? RegisterClassExA(describe(ansi, Ansi(name).get()))
                                 : RegisterClassExW(describe(wide, name));
    return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateWindowOf(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id, void* param) noexcept {
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    if (AnsiOnly())
        return CreateWindowExA(0, Ansi(className).get(), Ansi(text).get(), style, x, y, width,
                               height, parent, menu, Instance(), param);
    return CreateWindowExW(0, className, text, style, x, y, width, height, parent, menu, Instance(),
                           param);
}

LRESULT DefaultProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return AnsiOnly() ? DefWindowProcA(window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

void Subclass(HWND window, WNDPROC proc) noexcept {
    SetLong(window, GWLP_USERDATA, GetLong(window, GWLP_WNDPROC));
    SetLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

LRESULT CallOriginalProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetLong(window, GWLP_USERDATA));
    return AnsiOnly() ? CallWindowProcA(original, window, msg, wp, lp)
                      : CallWindowProcW(original, window, msg, wp, lp);
}

LRESULT Send(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return AnsiOnly() ? SendMessageA(window, msg, wp, lp) : SendMessageW(window, msg, wp, lp);
}

LONG_PTR GetLong(HWND window, int index) noexcept {
    return AnsiOnly() ? GetWindowLongPtrA(window, index) : GetWindowLongPtrW(window, index);
}

LONG_PTR SetLong(HWND window, int index, LONG_PTR value) noexcept {
    return AnsiOnly() ? SetWindowLongPtrA(window, index, value)
                      : SetWindowLongPtrW(window, index, value);
}

bool NextMessage(MSG& msg) noexcept {
    return (AnsiOnly() ? GetMessageA(&msg, nullptr, 0, 0) : GetMessageW(&msg, nullptr, 0, 0)) > 0;
}

bool DispatchDialogMessage(HWND dialog, MSG& msg) noexcept {
    return (AnsiOnly() ? IsDialogMessageA(dialog, &msg) : IsDialogMessageW(dialog, &msg)) != FALSE;
}

void Dispatch(const MSG& msg) noexcept {
    if (AnsiOnly())
        DispatchMessageA(&msg);
    else
        DispatchMessageW(&msg);
}

INT_PTR ModalDialog(const DLGTEMPLATE* dialog, HWND owner, DLGPROC proc, LPARAM param) noexcept {
    return AnsiOnly() ? DialogBoxIndirectParamA(Instance(), dialog, owner, proc, param)
                      : DialogBoxIndirectParamW(Instance(), dialog, owner, proc, param);
}

int TextOf(HWND window, wchar_t* buffer, int bufferSize) noexcept {
    if (!AnsiOnly()) return GetWindowTextW(window, buffer, bufferSize);
    char bytes[1024];
    return ToUnicode(bytes, TextOf(window, bytes, sizeof bytes), buffer, bufferSize);
}

int TextOf(HWND window, char* buffer, int bufferSize) noexcept {
    return GetWindowTextA(window, buffer, bufferSize);
}

void ClearSelection(HWND edit) noexcept {
    if (AnsiOnly())
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    else
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) noexcept {
    return MessageBoxW(owner, text, title, style);
}

HFONT CreateUiFont(int height, int weight, BYTE charset, const wchar_t* face) noexcept {
    if (AnsiOnly())
        return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, Ansi(face).get());
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

int SystemMessageText(DWORD status, wchar_t* buffer, int bufferSize) noexcept {
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (!AnsiOnly()) {
        const DWORD n = FormatMessageW(kFlags, nullptr, status, 0, buffer,
                                       static_cast<DWORD>(bufferSize), nullptr);
        buffer[n] = L'\0';
        return static_cast<int>(n);
    }
    char bytes[1024];
    const DWORD n = FormatMessageA(kFlags, nullptr, status, 0, bytes, sizeof bytes, nullptr);
    return ToUnicode(bytes, static_cast<int>(n), buffer, bufferSize);
}

}  // namespace qm::sys
