#pragma once
#include <windows.h>

#include <string_view>

#include "app/unique_handle.h"

namespace qm {

inline void FreeFromHeap(void* memory) noexcept { HeapFree(GetProcessHeap(), 0, memory); }

// Text in the system's ANSI code page, NUL-terminated, in memory of its own.
class AnsiText {
  public:
    const char* c_str() const noexcept { return bytes_ ? bytes_.get() : ""; }
    std::size_t size() const noexcept { return size_; }  // in bytes, without the NUL

  private:
    friend LONG ToAnsiExact(std::wstring_view text, AnsiText& out) noexcept;
    UniqueHandle<char*, &FreeFromHeap> bytes_;
    std::size_t size_ = 0;
};

// Converts to the system's ANSI code page, exactly or not at all: text that the code page
// cannot hold (or, where that code page is UTF-8, malformed UTF-16) gives
// ERROR_NO_UNICODE_TRANSLATION rather than a '?' or a look-alike letter.
LONG ToAnsiExact(std::wstring_view text, AnsiText& out) noexcept;

}  // namespace qm
