#pragma once
// A top-level window object bound to its HWND: the object is stored at WM_NCCREATE and
// every later message goes to Derived::HandleMessage. Nothing may throw out of it.
#include <windows.h>

#include <utility>

#include "app/system_ui.h"

namespace qm {

template <typename Derived>
class BaseWindow {
  public:
    HWND Window() const noexcept { return hwnd_; }

  protected:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    // The derived object's members are gone by now: the window, if still there, goes without
    // a further message to the object.
    ~BaseWindow() { Discard(); }

    // Destroys the window, its messages going to the system's default handling: for a window
    // that never opened, whose handlers must not run as for one that did.
    void Discard() noexcept {
        if (HWND window = std::exchange(hwnd_, nullptr)) {
            sys::SetLong(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }

    bool CreateTopLevel(const wchar_t* className, const wchar_t* caption, DWORD style, int width,
                        int height, HBRUSH background, HICON icon) noexcept {
        return sys::RegisterWindowClass(className, &BaseWindow::WindowProc, background, icon) &&
               sys::CreateWindowOf(className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                   height, nullptr, 0, this) != nullptr;
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            // The creation parameter sits at the same place in the ANSI and Unicode forms.
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
            sys::SetLong(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<Derived*>(sys::GetLong(hwnd, GWLP_USERDATA));
        }
        if (!self) return sys::DefaultProc(hwnd, msg, wp, lp);
        const LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            sys::SetLong(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace qm
