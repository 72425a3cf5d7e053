// The real program in Wine's desktop: real input, read back from the screen, registry and trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include <objidl.h>
#include <gdiplus.h>
#include <dbghelp.h>

#include "app/text_prompt.h"
#include "tests/support.h"
#include "tools/uidriver/ui_driver.h"


namespace {

using namespace qmtest;

constexpr wchar_t kCaption[] = L"Change Registered Name Of Your Computer";

const std::wstring kVersion = Env(L"QM_WINDOWS_VERSION");
const bool kNine = kVersion == L"win95" || kVersion == L"win98";  // 95, 98 and ME: ANSI only


// tests/data/window.png: a 370 x 126 band per step (at rest, Continue held, Back held, focus on
// Back): the window's fixed places, colours and pictures, reviewed by eye and pixel by pixel.
Pixels Reference(int band) {
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HBITMAP bitmap = nullptr;
    Gdiplus::Bitmap(QM_REFERENCE).GetHBITMAP(Gdiplus::Color(), &bitmap);
    EXPECT_TRUE(bitmap) << "set-up: the reference picture";
    return Pixels(370, 126, [&](HDC dc) {
        HDC file = CreateCompatibleDC(dc);
        SelectObject(file, bitmap);
        BitBlt(dc, 0, 0, 370, 126, file, 0, 126 * band, SRCCOPY);
        DeleteDC(file), DeleteObject(bitmap);
    });
}

bool Shows(const RECT& area, HICON icon, int size) {
    const Pixels grab = Pixels::OfScreen(area);
    const RECT all = {0, 0, size, size};
    for (int y = 0; y + size <= grab.Height(); ++y)
        for (int x = 0; x + size <= grab.Width(); ++x) {
            const Pixels there(size, size, [&](HDC dc) { grab.Draw(dc, -x, -y); });
            if (there.Differences(Pixels(size, size, [&](HDC dc) {
                    there.Draw(dc, 0, 0);
                    SetBkColor(dc, GetPixel(dc, 0, 0));
                    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
                    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
                })) == 0)
                return true;
        }
    return false;
}

HWND AwaitDialog(const Process& app, HWND main, const wchar_t* title, const std::wstring& text) {
    HWND dlg = AwaitTopLevel(PrintToString(title) + " " + PrintToString(text), app.Id(), L"#32770", title);
    BringToFront(dlg);
    EXPECT_EQ(DialogText(dlg), text);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes no input meanwhile";
    return dlg;
}

// The prompt: its field (empty, as what is typed shows) with the cursor, OK and Cancel.
HWND Prompt(const Process& app, HWND main, const wchar_t* text) {
    HWND dlg = AwaitDialog(app, main, L"Quillmark", text);
    Await("the cursor in the field", [&] { return FocusOf(dlg) == GetDlgItem(dlg, qm::kPromptEditId); });
    EXPECT_EQ(TextOf(GetDlgItem(dlg, IDOK)) + L"|" + TextOf(GetDlgItem(dlg, IDCANCEL)), L"OK|Cancel");
    return dlg;
}

void AwaitField(HWND dlg, const std::wstring& expected) {
    HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
    Await("the field to hold " + PrintToString(expected), [&] { return TextOf(edit) == expected; },
          [&] { return "it holds " + PrintToString(TextOf(edit)); });
}

void Answer(HWND dlg, const std::wstring& typed, const std::wstring& expected) {
    TypeText(typed);
    AwaitField(dlg, expected);
    PressKeys({VK_RETURN});
    Await("Enter closes the prompt", [&] { return !IsWindow(dlg); });
}

void ExpectErrorBox(const Process& app, HWND main, const std::wstring& text) {
    HWND box = AwaitDialog(app, main, L"Error", text);
    EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL)) << "OK alone";
    RECT r = {};  // the icon's place
    GetWindowRect(FindWindowExW(box, nullptr, L"Static", L""), &r);
    Await("the system's stop icon", [&] { return Shows(r, LoadIconW(nullptr, IDI_HAND), 32); });
    PressKeys({VK_RETURN});
    Await("Enter closes the error box", [&] { return !IsWindow(box); });
}

// What [base, base + size) called, from Wine's relay trace: "0024:Call user32.F(...) ret=401234".
std::set<std::string> CallsIn(const std::wstring& trace, ULONG_PTR base, ULONG_PTR size) {
    std::set<std::string> calls;
    std::ifstream in{std::filesystem::path(trace)};
    const std::regex call(":Call (\\w+)\\.(\\w+)\\(.* ret=([0-9a-f]+)$");
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (!std::regex_search(line, m, call) || std::stoull(m[3], nullptr, 16) - base >= size)
            continue;
        std::string dll = m[1];
        for (char& c : dll) c = static_cast<char>(tolower(c));
        calls.insert(dll + "." + m[2].str());
    }
    return calls;
}

// A Unicode function: its DLL also has it with an A in place of its final W.
bool IsUnicode(const std::string& call) {
    const auto dot = call.find('.');
    HMODULE dll = LoadLibraryA((call.substr(0, dot) + ".dll").c_str());
    const std::string ansi = call.substr(dot + 1, call.size() - dot - 2) + 'A';
    return call.ends_with('W') && dll && GetProcAddress(dll, ansi.c_str());
}

// The Unicode functions that work on Windows 95, 98 and ME (MSDN 1998, "Windows 95 General
// Limitations"; Microsoft KB 210341); the rest are stubs that fail there.
const std::set<std::string> kUnicodeOn9x = {
    "gdi32.ExtTextOutW", "gdi32.GetCharWidthW", "gdi32.GetTextExtentExPointW", "gdi32.TextOutW",
    "gdi32.GetTextExtentPointW", "gdi32.GetTextExtentPoint32W", "user32.MessageBoxW",
    "user32.MessageBoxExW", "kernel32.lstrlenW", "kernel32.EnumResourceLanguagesW",
    "kernel32.EnumResourceNamesW", "kernel32.EnumResourceTypesW", "kernel32.FindResourceW",
    "kernel32.FindResourceExW"};

TEST(ProgramTest, LooksAndWorksAsFixedAndStoresExactlyWhatIsTyped) {
    auto setting = [](const std::wstring& key, const wchar_t* value, const std::wstring& text) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, REG_SZ, text.c_str(),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    std::wstring program = Env(L"QM_PROGRAM"), fileName = program.substr(program.rfind(L'/') + 1);
    if (!kVersion.empty()) {  // Wine takes the Windows version per file name: a copy of its own
        fileName = L"Quillmark-" + kVersion + L".exe";
        program = (std::filesystem::current_path() / fileName).wstring();
        ASSERT_EQ(CopyFileW(Env(L"QM_PROGRAM").c_str(), program.c_str(), FALSE) ? 0 : GetLastError(), 0u)
            << "set-up: the system's error copying the program to " << PrintToString(program);
        ASSERT_EQ(setting(L"Software\\Wine\\AppDefaults\\" + fileName, L"Version", kVersion), 0);
    }
    // Machine and image size are at the same places in the 32- and the 64-bit header.
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    const auto mapped = reinterpret_cast<ULONG_PTR>(file) & ~ULONG_PTR{3};  // less the flag bits
    const auto* image = ImageNtHeader(reinterpret_cast<void*>(mapped));
    ASSERT_TRUE(file && image) << "QM_PROGRAM names no Windows program: " << PrintToString(program);
    const bool is32 = image->FileHeader.Machine == IMAGE_FILE_MACHINE_I386;
    const REGSAM programView = is32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    const REGSAM otherView = is32 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    auto StoredByProgram = [&](const char* name) {
        return Read(HKEY_LOCAL_MACHINE, kCurrentVersion, name, programView);
    };
    for (const char* name : kValueNames) {
        ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, name, "before", programView));
        ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, name, "other view", otherView));
        ASSERT_EQ(StoredByProgram(name), Sz("before")) << "set-up: the two views are one here";
    }
    ULONG_PTR base = 0;
    {
        // Three copies (with arguments, maximised, minimised) under Wine's relay trace.
        constexpr wchar_t kDebug[] = L"Software\\Wine\\Debug";
        setting(kDebug, L"RelayFromInclude", fileName);
        setting(kDebug, L"RelayExclude", L"none");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDebug, L"RelayFromExclude");  // it overrides
        SetEnvironmentVariableW(L"WINEDEBUG", L"+relay");
        const Process app(program, L"/organisation:Evil --owner \"Some One\" -x");
        const Process big(program, L"", SW_SHOWMAXIMIZED);
        const Process small(program, L"", SW_SHOWMINNOACTIVE);
        SetEnvironmentVariableW(L"WINEDEBUG", L"-all");
        const HWND main = AwaitTopLevel("the main window", app.Id(), nullptr, kCaption);
        const HWND other = AwaitTopLevel("the maximised window", big.Id(), nullptr, kCaption);
        const HWND icon = AwaitTopLevel("the minimised window", small.Id(), nullptr, kCaption);
        base = static_cast<ULONG_PTR>(GetWindowLongPtrW(main, GWLP_HINSTANCE));
        // Its controls in tab order: Continue, Back, the description (which the picture shows).
        const HWND cont = GetWindow(main, GW_CHILD), back = GetWindow(cont, GW_HWNDNEXT);
        const HWND label = GetWindow(back, GW_HWNDNEXT);
        ASSERT_TRUE(label && !GetWindow(label, GW_HWNDNEXT)) << "three controls";
        EXPECT_EQ(TextOf(cont) + L"|" + TextOf(back), L"Continue|Back") << "the names readers hear";
        Await("minimised stays so", [&] { return IsIconic(icon) != FALSE; });
        EXPECT_FALSE(IsZoomed(other)) << "a fixed frame keeps its size";
        RECT client, r;
        // Out of the way, without waiting on that program.
        SetWindowPos(other, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        Await("move the maximised copy aside", [&] { return GetWindowRect(other, &r) && r.left == 600 && r.top == 500; });
        BringToFront(main);

        const auto ownIcon = static_cast<HICON>(LoadImageW(file, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
        GetClientRect(main, &client);
        ASSERT_EQ(client.right * 1000 + client.bottom, 370126);
        EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU),
                  WS_CAPTION | WS_MINIMIZEBOX | WS_SYSMENU);
        GetWindowRect(main, &r);
        Await("the program's icon in the caption", [&] { return Shows({r.left, r.top, r.left + 40, r.top + 40}, ownIcon, 16); });

        Await("the focus on Continue", [&] { return FocusOf(main) == cont; });
        for (WORD key : {VK_RETURN, VK_ESCAPE, VK_TAB}) PressKeys({key});
        Await("Tab to Back (Enter and Escape do nothing)", [&] { return FocusOf(main) == back; });
        PressKeys({VK_TAB});
        Await("Tab to Continue", [&] { return FocusOf(main) == cont; });

        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);  // on the screen
        auto looks = [&](const std::string& step, int band) {
            const Pixels want = Reference(band);
            int bad = 0;
            Await(step, [&] { return (bad = want.Differences(Pixels::OfScreen(client))) == 0; },
                  [&] { return std::to_string(bad) + " pixels differ"; });
        };
        looks("the window as drawn", 0);
        for (int i : {0, 1}) {  // the focus moves with a click
            Mouse(CentreOf(i ? back : cont), true);
            looks(std::string(i ? "Back" : "Continue") + " held", 1 + i);
            Mouse(CentreOf(label), false);
            looks(std::string(i ? "Back" : "Continue") + " released outside", 3 * i);
        }
        EXPECT_FALSE(FindTopLevel(app.Id(), L"#32770", nullptr));
        for (const char* name : kValueNames)
            EXPECT_EQ(StoredByProgram(name), Sz("before")) << "nothing is written before Continue";

        const std::wstring typed = L"  Mirevale & Sons, \u00c5ngstr\u00f6m  ";
        const Raw stored = Sz("  Mirevale & Sons, \xC5ngstr\xF6m  "), x255 = Sz(std::string(255, 'x'));
        Click(CentreOf(cont));
        Answer(Prompt(app, main, L"Organisation:"), typed, typed);
        Await("the organisation stored", [&] { return StoredByProgram(kValueNames[0]) == stored; });
        HWND owner = Prompt(app, main, L"Owner:");
        PutOnClipboard(std::wstring(300, L'x'));
        PressKeys({VK_CONTROL, 'V'});
        Answer(owner, L"", std::wstring(255, L'x'));  // the field takes 255 at most
        Await("the owner stored", [&] { return StoredByProgram(kValueNames[1]) == x255; });
        for (const char* name : kValueNames)
            EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kCurrentVersion, name, otherView), Sz("other view"));
        Await("the focus back on Continue", [&] { return IsWindowEnabled(main) && FocusOf(main) == cont; });

        const std::function<void(HWND)> leave[] = {
            [](HWND) { PressKeys({VK_ESCAPE}); }, [](HWND) { PressKeys({VK_MENU, VK_F4}); },
            [](HWND dlg) { PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); },  // the close box
            [](HWND) { PressKeys({VK_TAB}), PressKeys({VK_TAB}), PressKeys({VK_SPACE}); }};  // Cancel
        for (const auto& way : leave) {
            BringToFront(main);
            PressKeys({VK_SPACE});  // on Continue
            HWND dlg = Prompt(app, main, L"Organisation:");
            TypeText(L"abc");
            AwaitField(dlg, L"abc");
            way(dlg);
            ExpectErrorBox(app, main, L"Empty String");
            Await("the focus back on Continue", [&] { return FocusOf(main) == cont; });
        }
        EXPECT_EQ(StoredByProgram(kValueNames[0]), stored);

        // A press the system takes for a double click's second is a click all the same.
        PostMessageW(cont, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(cont, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Answer(Prompt(app, main, L"Organisation:"), L"   ", L"   ");
        HWND dlg = Prompt(app, main, L"Owner:");
        if (!kNine) {
            // A character of two UTF-16 units that does not fit whole is not taken, pasted
            // (127 fit in 254 units) or typed; the one unit left still takes a letter.
            std::wstring emoji = L"\U0001F600", fit;
            for (int i = 0; i < 127; ++i) fit += emoji;
            PutOnClipboard(fit + emoji + emoji);
            PressKeys({VK_CONTROL, 'V'});
            AwaitField(dlg, fit);
            TypeText(emoji + L"x");
            AwaitField(dlg, fit + L"x");
        }
        PressKeys({VK_ESCAPE});
        ExpectErrorBox(app, main, L"Empty String");
        EXPECT_EQ(StoredByProgram(kValueNames[0]), Sz("   "));
        EXPECT_EQ(StoredByProgram(kValueNames[1]), x255);

        Click(CentreOf(back));
        EXPECT_EQ(app.AwaitExit("Back ends the program"), 0u);
        ASSERT_TRUE(big.Running() && GetWindowRect(other, &r)) << "the maximised copy lives on";
        Click({r.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
               r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
        EXPECT_EQ(big.AwaitExit("the close box ends the program"), 0u);
        ShowWindowAsync(icon, SW_RESTORE);
        BringToFront(icon);
        PressKeys({VK_MENU, VK_F4});
        EXPECT_EQ(small.AwaitExit("Alt+F4 ends the program"), 0u);
    }
    // The window services of this Windows, and no function that fails on it.
    const auto calls = CallsIn(L"wine-stderr.txt", base, image->OptionalHeader.SizeOfImage);
    for (const std::string s : {"user32.CreateWindowEx", "user32.DialogBoxIndirectParam"})
        EXPECT_TRUE(calls.count(s + (kNine ? 'A' : 'W'))) << s;
    for (const std::string& call : calls) {
        if (kNine) {
            EXPECT_FALSE(IsUnicode(call) && !kUnicodeOn9x.count(call)) << call << ": a stub on 9x";
        } else if (call.ends_with('A') && (call.starts_with("user32.") || call.starts_with("gdi32."))) {
            EXPECT_FALSE(IsUnicode(call.substr(0, call.size() - 1) + 'W')) << call << " on NT";
        }
    }
}

}  // namespace
