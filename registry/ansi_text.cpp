#include "registry/ansi_text.h"

#include <windows.h>

namespace qm {

std::optional<std::string> ToAnsiExact(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int inLen = static_cast<int>(text.size());
    const bool utf8 = GetACP() == CP_UTF8;
    // UTF-8 forbids the default-character arguments; there only malformed input can fail.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;

    const int outLen =
        WideCharToMultiByte(CP_ACP, flags, text.data(), inLen, nullptr, 0, nullptr, usedDefaultOut);
    if (outLen <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(outLen), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), inLen, out.data(), outLen, nullptr,
                            usedDefaultOut) != outLen ||
        usedDefault)
        return std::nullopt;
    return out;
}

}  // namespace qm
