#pragma once
#include <windows.h>

#include <string_view>

#include "app/fixed_text.h"

namespace qm {

// The field's limit: UTF-16 units on Windows NT and later, bytes on Windows 95, 98 and ME.
inline constexpr int kPromptMaxChars = 255;
using PromptText = FixedText<kPromptMaxChars>;

// Control identifiers inside the prompt, for anyone who has to find them.
inline constexpr int kPromptTextId = 100;
inline constexpr int kPromptEditId = 101;

// A modal prompt with one edit line, OK and Cancel, built in memory (no dialog resource).
// Returns the text exactly as typed on OK; the empty text on Cancel, Escape or close.
PromptText ShowTextPrompt(HWND owner, const wchar_t* title, const wchar_t* prompt) noexcept;

// Whether ANSI text in `codePage` ends with the first byte of a double-byte character whose
// second byte is missing.
bool EndsWithLoneLeadByte(std::string_view text, UINT codePage) noexcept;

// Tells, unit by unit as typed, which unit is the second half of a character of two: a low
// surrogate in Unicode, or in `codePage` (ANSI, as on Windows 95, 98 and ME) the byte after a
// first byte. A second byte can look like a first, so which one a byte is depends on the
// bytes before it.
class TypedHalves {
  public:
    constexpr TypedHalves(bool ansi, UINT codePage) noexcept : ansi_(ansi), codePage_(codePage) {}
    bool IsSecondHalf(WPARAM unit) noexcept;

  private:
    bool ansi_;
    UINT codePage_;
    bool afterLeadByte_ = false;
};

}  // namespace qm
