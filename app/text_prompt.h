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
PromptText ShowTextPrompt(HWND owner, std::wstring_view title, std::wstring_view prompt) noexcept;

// Whether ANSI text in `codePage` ends with the first byte of a double-byte character whose
// second byte is missing.
bool EndsWithLoneLeadByte(std::string_view text, UINT codePage) noexcept;

}  // namespace qm
