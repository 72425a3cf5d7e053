#pragma once
// What the program asks of the platform's user interface, behind one seam so that the
// flow can be driven without a person at the keyboard.
#include <windows.h>

#include "app/text_prompt.h"

namespace qm {

inline constexpr wchar_t kAppTitle[] = L"Quillmark";

class UiServices {
  public:
    // Modal text prompt: the typed text on OK, empty on Cancel or close.
    virtual PromptText Prompt(const wchar_t* text) = 0;
    // Modal message box; returns when the user closes it.
    virtual void Message(const wchar_t* text, const wchar_t* title, UINT style) = 0;

  protected:
    // Never deleted through this base: no deleting destructor, which would need the heap of
    // a run-time library.
    ~UiServices() = default;
};

// The real services, modal to `owner`.
class WindowServices final : public UiServices {
  public:
    explicit WindowServices(HWND owner) noexcept : owner_(owner) {}
    PromptText Prompt(const wchar_t* text) override;
    void Message(const wchar_t* text, const wchar_t* title, UINT style) override;

  private:
    HWND owner_;
};

}  // namespace qm
