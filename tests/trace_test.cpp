// The release under Wine's call trace, as Windows 98 and as Windows NT 4.0: every call that
// the executable's own code makes into a system DLL, with the version that Wine reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/program.h"
#include "tests/test_registry.h"
#include "tools/uidriver/ui_driver.h"

namespace {

using namespace qmtest;

constexpr wchar_t kCaption[] = L"Change Registered Name Of Your Computer";

// The Unicode functions that work on Windows 95, 98 and ME (MSDN 1998, "Windows 95 General
// Limitations"; Microsoft KB 210341). The rest are stubs that fail there.
const std::set<std::string> kWorkOnWindows9x = {
    "ExtTextOutW", "GetCharWidthW", "GetTextExtentExPointW", "GetTextExtentPointW",
    "GetTextExtentPoint32W", "MessageBoxW", "MessageBoxExW", "TextOutW", "lstrlenW",
    "EnumResourceLanguagesW", "EnumResourceNamesW", "EnumResourceTypesW", "FindResourceW",
    "FindResourceExW"};
struct Call {
    std::string dll, function;
    auto operator<=>(const Call&) const = default;
};
using Calls = std::set<Call>;  // each function called once or more

// "0024:Call user32.CreateWindowExW(...) ret=00401234": calls whose return address lies in
// [base, base + size), the executable's own image.
Calls CallsFromImage(const std::wstring& trace, ULONG_PTR base, ULONG_PTR size) {
    Calls calls;
    std::ifstream in{std::filesystem::path(trace)};
    for (std::string line; std::getline(in, line);) {
        const auto call = line.find(":Call ");
        const auto ret = line.rfind(" ret=");
        if (call == std::string::npos || ret == std::string::npos) continue;
        const ULONG_PTR address = std::stoull(line.substr(ret + 5), nullptr, 16);
        if (address < base || address >= base + size) continue;
        const auto dot = line.find('.', call), paren = line.find('(', call);
        if (dot == std::string::npos || paren == std::string::npos || dot > paren) continue;
        calls.insert({line.substr(call + 6, dot - call - 6), line.substr(dot + 1, paren - dot - 1)});
    }
    return calls;
}

// A function is a Unicode one when its DLL also has it with an A in place of its W.
bool IsUnicodeFunction(const Call& c) {
    const std::string& f = c.function;
    const bool wide = f.ends_with('W') || f.ends_with("_W");
    if (!wide) return false;
    HMODULE dll = LoadLibraryA((c.dll + ".dll").c_str());
    std::string ansi = f;
    ansi.back() = 'A';
    return dll && GetProcAddress(dll, ansi.c_str());
}

ULONG_PTR SizeOfImage(const std::wstring& exe) {
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const BYTE*>(image) + dos->e_lfanew);
    const ULONG_PTR size = nt->OptionalHeader.SizeOfImage;
    FreeLibrary(image);
    return size;
}

// The program started under Wine's relay trace, as Windows `version`, with the trace in a
// file. Wine starts it from a shell, so there is no handle until its window shows.
class TracedRun {
  public:
    TracedRun(const std::wstring& exe, const wchar_t* version, const wchar_t* name)
        : exe_(exe), trace_(std::wstring(L"Z:\\tmp\\qm-trace-") + name + L".txt") {
        RunAsWindowsVersion(exe, version);
        // Every call: by default Wine leaves a few out of the trace.
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayExclude", REG_SZ,
                        L"QmNothing", 20);
        DeleteFileW(trace_.c_str());
        wchar_t prefix[MAX_PATH] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
        StartLinuxCommand(L"WINEPREFIX='" + std::wstring(prefix) +
                          L"' WINEDEBUG=+relay exec /usr/lib/wine/wine64 '" + exe_ +
                          L"' 2>/tmp/qm-trace-" + name + L".txt");
        window = WaitForTopLevel(0, nullptr, kCaption, 60s);
        DWORD pid = 0;
        if (window) GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
        id = pid;
    }
    ~TracedRun() {
        if (!process_) return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) PostMessageW(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(process_, 20000);
        CloseHandle(process_);
        // Some 70 MB; kept only to look into a failure.
        if (!testing::Test::HasFailure()) DeleteFileW(trace_.c_str());
    }
    bool WaitForExit() const { return process_ && WaitForSingleObject(process_, 30000) == 0; }
    HWND Button(const wchar_t* text) const { return FindWindowExW(window, nullptr, L"Button", text); }
    // Answers a prompt of the program: the text and Enter, or Escape for none.
    void Answer(const wchar_t* prompt, const wchar_t* text) const {
        HWND dlg = WaitForTopLevel(id, L"#32770", L"Quillmark", 30s);
        ASSERT_TRUE(dlg) << "no prompt " << prompt;
        EXPECT_EQ(DialogText(dlg), prompt);
        ASSERT_TRUE(BringToFront(dlg));
        TypeText(text);
        HWND edit = FindWindowExW(dlg, nullptr, L"Edit", nullptr);
        WaitUntil([&] { return TextOf(edit) == text; }, 30s);
        PressKey(text[0] ? VK_RETURN : VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 30s));
    }
    // Closes the error box, which must say `text`.
    void AcknowledgeError(const std::wstring& text) const {
        HWND box = WaitForTopLevel(id, L"#32770", L"Error", 30s);
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(DialogText(box).substr(0, text.size()), text);
        ASSERT_TRUE(BringToFront(box));
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 30s));
    }
    void Click(const wchar_t* button) const {
        ASSERT_TRUE(BringToFront(window));
        ASSERT_TRUE(qmtest::Click(CentreOf(Button(button))));
    }
    Calls CallsMade() const {
        const auto base = static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
        return CallsFromImage(trace_, base, SizeOfImage(exe_));
    }

    HWND window = nullptr;
    DWORD id = 0;

  private:
    std::wstring exe_, trace_;
    HANDLE process_ = nullptr;
};

bool Called(const Calls& calls, const std::string& function) {
    for (const Call& c : calls)
        if (c.function == function) return true;
    return false;
}

TEST(CallTraceTest, AsWindows98ItCallsNoUnicodeFunctionThatIsAStubThere) {
    Calls calls;
    {
        TracedRun run(QM_EXE98, L"win98", L"win98");
        ASSERT_TRUE(run.window) << "the window never appeared";
        run.Click(L"Continue");
        run.Answer(L"Organisation:", L"Mirevale Works");
        run.Answer(L"Owner:", L"");
        run.AcknowledgeError(L"Empty String");
        calls = run.CallsMade();
        run.Click(L"Back");
        EXPECT_TRUE(run.WaitForExit());
    }
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization"),
              "Mirevale Works");
    ASSERT_TRUE(Called(calls, "CreateWindowExA")) << "the ANSI window services were used";
    ASSERT_TRUE(Called(calls, "DialogBoxIndirectParamA"));
    std::set<std::string> stubs;
    for (const Call& c : calls)
        if (IsUnicodeFunction(c) && !kWorkOnWindows9x.count(c.function))
            stubs.insert(c.dll + "." + c.function);
    EXPECT_TRUE(stubs.empty()) << testing::PrintToString(stubs);
}

TEST(CallTraceTest, AsWindowsNt4ItUsesUnicodeAndRefusesTextTheCodePageCannotHold) {
    WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", "old org");
    Calls calls;
    {
        TracedRun run(QM_EXENT4, L"nt40", L"nt40");
        ASSERT_TRUE(run.window) << "the window never appeared";
        run.Click(L"Continue");
        run.Answer(L"Organisation:", L"\u03a9 Works");  // Greek: not in code page 1252
        run.AcknowledgeError(L"Could not write RegisteredOrganization: ");
        calls = run.CallsMade();
        run.Click(L"Back");
        EXPECT_TRUE(run.WaitForExit());
    }
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization"), "old org");
    EXPECT_TRUE(Called(calls, "CreateWindowExW"));
    EXPECT_TRUE(Called(calls, "DialogBoxIndirectParamW"));
    for (Call c : calls) {
        if ((c.dll != "user32" && c.dll != "gdi32") || !c.function.ends_with('A')) continue;
        c.function.back() = 'W';
        EXPECT_FALSE(IsUnicodeFunction(c)) << c.dll << "." << c.function << ": ANSI on NT";
    }
}

}  // namespace
