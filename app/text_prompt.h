#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

inline constexpr int kPromptMaxChars = 255;

// Control identifiers inside the prompt, for anyone who has to find them.
inline constexpr int kPromptTextId = 100;
inline constexpr int kPromptEditId = 101;

// A modal prompt with one edit line, OK and Cancel, built in memory (no dialog resource).
// Returns the text exactly as typed on OK; the empty text on Cancel, Escape or close.
std::wstring ShowTextPrompt(HWND owner, std::wstring_view title, std::wstring_view prompt);

}  // namespace qm
