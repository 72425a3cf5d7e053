#include "registry/ansi_text.h"

namespace qm {

LONG ToAnsiExact(std::wstring_view text, AnsiText& out) noexcept {
    out = AnsiText();
    if (text.empty()) return ERROR_SUCCESS;
    const int inLen = static_cast<int>(text.size());
    const int outLen = WideCharToMultiByte(CP_ACP, 0, text.data(), inLen, nullptr, 0, nullptr,
                                           nullptr);
    if (outLen <= 0) return ERROR_NO_UNICODE_TRANSLATION;
    out.bytes_.reset(static_cast<char*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(outLen) + 1)));
    if (!out.bytes_) return ERROR_NOT_ENOUGH_MEMORY;
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), inLen, out.bytes_.get(), outLen, nullptr,
                            nullptr) != outLen)
        return ERROR_NO_UNICODE_TRANSLATION;
    out.size_ = static_cast<std::size_t>(outLen);
    // Exact means that the bytes read back as the very same text. That catches '?' for a
    // character the code page lacks, a look-alike letter (best fit) and malformed UTF-16 on
    // every Windows; the flags that refuse these directly came with Windows 2000 and Vista.
    UniqueHandle<wchar_t*, &FreeFromHeap> back(static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(inLen) * sizeof(wchar_t))));
    if (!back) return ERROR_NOT_ENOUGH_MEMORY;
    if (MultiByteToWideChar(CP_ACP, 0, out.bytes_.get(), outLen, back.get(), inLen) != inLen ||
        text != std::wstring_view(back.get(), static_cast<std::size_t>(inLen)))
        return ERROR_NO_UNICODE_TRANSLATION;
    return ERROR_SUCCESS;
}

}  // namespace qm
