// The helper that tools/run.sh uses to report what is stored, run on real stored values.
#include <gtest/gtest.h>

#include "tests/test_registry.h"

namespace {

using namespace qmtest;

// Runs the helper and returns everything it wrote to its standard output.
std::string OutputOfShowValues() {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return "no pipe";
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write;
    si.hStdError = write;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" QM_SHOW_VALUES L"\"";
    const bool started = CreateProcessW(QM_SHOW_VALUES, command.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &si, &pi);
    CloseHandle(write);
    std::string out;
    char buffer[512];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got)
        out.append(buffer, got);
    CloseHandle(read);
    if (!started) return "not started";
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return out;
}

TEST(ShowValuesTest, PrintsEachValueExactlyAsStored) {
    struct Case {
        std::string stored;  // in code page 1252, as the program hands it to the registry
        std::string shown;   // UTF-8
    } cases[] = {
        {"   ", "\"   \""},
        {"  Acme  Ltd  ", "\"  Acme  Ltd  \""},
        {"  \xC5ngstr\xF6m & Co  ", "\"  \xC3\x85ngstr\xC3\xB6m & Co  \""},
        {"", "\"\""},
        {"say \"hi\" C:\\x", "\"say \\\"hi\\\" C:\\\\x\""},
    };
    ASSERT_EQ(GetACP(), 1252u);
    for (const Case& c : cases) {
        WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", c.stored);
        DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner");
        EXPECT_EQ(OutputOfShowValues(),
                  "RegisteredOrganization = " + c.shown + "\nRegisteredOwner is not set\n")
            << c.stored;
    }
}

}  // namespace
