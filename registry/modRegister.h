#pragma once
// The one place that writes to the registry.
#include <windows.h>

#include <string_view>

namespace modRegister {

// Stores `data` as a REG_SZ value `valueName` in root\subKeyPath, creating missing keys.
// The text goes to the registry in the system's ANSI code page with one terminating NUL.
// Returns the Win32 status: ERROR_NO_UNICODE_TRANSLATION (and nothing written) when a text
// has characters that code page cannot hold exactly.
LONG WriteRegString(HKEY root, std::wstring_view subKeyPath, std::wstring_view valueName,
                    std::wstring_view data);

}  // namespace modRegister
