#pragma once
// A top-level window object bound to its HWND: the object is stored at WM_NCCREATE and
// every later message goes to Derived::HandleMessage. Nothing may throw out of it.
#include <windows.h>

namespace qm {

template <typename Derived>
class BaseWindow {
  public:
    HWND Window() const noexcept { return hwnd_; }

  protected:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    ~BaseWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    bool CreateTopLevel(const wchar_t* className, const wchar_t* caption, DWORD style,
                        DWORD exStyle, int width, int height, HBRUSH background,
                        HICON icon) noexcept {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        wc.hIcon = icon;
        // A second window of the same class finds it registered already.
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        return CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               width, height, nullptr, nullptr, instance, this) != nullptr;
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        const LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace qm
