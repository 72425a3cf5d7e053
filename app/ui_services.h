#pragma once
// What the program asks of the platform's user interface, behind one seam so that the
// flow can be driven without a person at the keyboard.
#include <windows.h>

#include <string_view>

#include "app/text_prompt.h"

namespace qm {

inline constexpr wchar_t kAppTitle[] = L"Quillmark";

class UiServices {
  public:
    virtual ~UiServices() = default;
    // Modal text prompt: the typed text on OK, empty on Cancel or close.
    virtual PromptText Prompt(std::wstring_view text) = 0;
    // Modal message box; returns when the user closes it.
    virtual void Message(const wchar_t* text, const wchar_t* title, UINT style) = 0;
};

// The real services, modal to `owner`.
class WindowServices final : public UiServices {
  public:
    explicit WindowServices(HWND owner) noexcept : owner_(owner) {}
    PromptText Prompt(std::wstring_view text) override;
    void Message(const wchar_t* text, const wchar_t* title, UINT style) override;

  private:
    HWND owner_;
};

}  // namespace qm
