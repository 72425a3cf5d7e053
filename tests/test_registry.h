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

std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::string& name);
// The value as the program stores it: REG_SZ text without its NUL, or nullopt.
std::optional<std::string> ReadText(HKEY root, const std::wstring& path, const std::string& name);
void WriteText(HKEY root, const std::wstring& path, const std::string& name,
               const std::string& text);
void DeleteTree(HKEY root, const std::wstring& path);

}  // namespace qmtest
