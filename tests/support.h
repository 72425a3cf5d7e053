#pragma once
// Stored values read and written the way another program would; the test's environment.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qmtest {

inline constexpr wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const char* kValueNames[] = {"RegisteredOrganization", "RegisteredOwner"};

struct Raw {
    DWORD type;
    std::string bytes;
    bool operator==(const Raw&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Raw& r) {
        return out << "type " << r.type << ", bytes " << testing::PrintToString(r.bytes);
    }
};
// What the program stores for an answer: its code page bytes and one NUL, as REG_SZ.
inline Raw Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

// A value's type and bytes; nullopt when it is not there. `view` 0: this process's own view.
std::optional<Raw> Read(HKEY root, const std::wstring& path, const char* name, REGSAM view = 0);
void Store(HKEY root, const std::wstring& path, const char* name, const std::string& text,
           REGSAM view = 0);
inline std::wstring Env(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    return std::wstring(value, GetEnvironmentVariableW(name, value, MAX_PATH));
}

}  // namespace qmtest
