#pragma once
// Reading back what the program wrote, as raw bytes, the way another program would see it.
#include <windows.h>

#include <optional>
#include <string>

namespace qmtest {

inline constexpr wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

struct RawValue {
    DWORD type = 0;
    std::string bytes;
};

// The registry view that this test build's program does not write: the 64-bit one for a
// 32-bit build (which the system redirects to the 32-bit view), the 32-bit one otherwise.
inline constexpr REGSAM kOtherView = sizeof(void*) == 4 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

// `view` 0 is this process's own view, the one its program writes.
std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::string& name,
                                REGSAM view = 0);
// The value as the program stores it: REG_SZ text without its NUL, or nullopt.
std::optional<std::string> ReadText(HKEY root, const std::wstring& path, const std::string& name,
                                    REGSAM view = 0);
void WriteText(HKEY root, const std::wstring& path, const std::string& name,
               const std::string& text, REGSAM view = 0);
void DeleteValue(HKEY root, const std::wstring& path, const std::string& name);
void DeleteTree(HKEY root, const std::wstring& path);

}  // namespace qmtest
