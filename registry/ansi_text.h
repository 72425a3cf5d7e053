#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Converts to the system's ANSI code page, exactly or not at all: text that the code page
// cannot hold (or, where that code page is UTF-8, malformed UTF-16) gives nullopt rather
// than a '?' or a look-alike letter.
std::optional<std::string> ToAnsiExact(std::wstring_view text);

}  // namespace qm
