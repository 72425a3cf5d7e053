// Prints RegisteredOrganization and RegisteredOwner as the registry holds them, one line each,
// in UTF-8 between double quotes, so that leading and trailing spaces show:
//   RegisteredOrganization = "  Acme  Ltd  "
//   RegisteredOwner is not set
// A backslash, a double quote and control characters are written as C escapes (\\, \", \t,
// \x1f). It reads the registry view of its own build: the 32-bit one from a 32-bit build,
// the view that the 32-bit program writes.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

struct Stored {
    DWORD type = 0;
    std::wstring text;
};

std::optional<Stored> Read(HKEY key, const wchar_t* name) {
    Stored value;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.text.resize((bytes + 1) / sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &value.type,
                         reinterpret_cast<BYTE*>(value.text.data()), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.text.resize(bytes / sizeof(wchar_t));
    if (!value.text.empty() && value.text.back() == L'\0') value.text.pop_back();
    return value;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'\\': out += L"\\\\"; break;
            case L'"': out += L"\\\""; break;
            case L'\t': out += L"\\t"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    wchar_t escape[8];
                    swprintf(escape, 8, L"\\x%02x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + L"\"";
}

std::wstring Line(HKEY key, const wchar_t* name) {
    const auto value = key ? Read(key, name) : std::nullopt;
    if (!value) return std::wstring(name) + L" is not set\n";
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        return std::wstring(name) + L" is not text (registry type " +
               std::to_wstring(value->type) + L")\n";
    return std::wstring(name) + L" = " + Quoted(value->text) + L"\n";
}

}  // namespace

int wmain() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        key = nullptr;
    // Raw UTF-8 bytes: the console's code page has no say over what the terminal shows.
    const std::string out =
        Utf8(Line(key, L"RegisteredOrganization") + Line(key, L"RegisteredOwner"));
    if (key) RegCloseKey(key);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()),
              &written, nullptr);
    return 0;
}
