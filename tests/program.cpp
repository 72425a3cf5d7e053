#include "tests/program.h"

#include <windows.h>

namespace qmtest {

void RunAsWindowsVersion(const std::wstring& exe, const std::wstring& version) {
    const std::wstring key =
        L"Software\\Wine\\AppDefaults\\" + exe.substr(exe.find_last_of(L"\\/") + 1);
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version.c_str(),
                    static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
}

const std::wstring& ProgramUnderTest() {
    static const std::wstring program = [] {
        wchar_t path[MAX_PATH] = {}, version[32] = {};
        if (!GetEnvironmentVariableW(L"QM_PROGRAM", path, MAX_PATH)) return std::wstring(QM_EXE);
        if (GetEnvironmentVariableW(L"QM_WINDOWS_VERSION", version, 32))
            RunAsWindowsVersion(path, version);
        return std::wstring(path);
    }();
    return program;
}

}  // namespace qmtest
