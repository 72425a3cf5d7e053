// The real modal prompt and message box, driven with keystrokes from a second thread.
#include <gtest/gtest.h>

#include <thread>

#include "app/text_prompt.h"
#include "app/ui_services.h"
#include "registry/modRegister.h"
#include "tests/test_registry.h"
#include "tools/uidriver/ui_driver.h"
#include "ui/register_flow.h"

namespace {

using namespace qmtest;

constexpr wchar_t kDialogClass[] = L"#32770";

// A stand-in for the main window, so that modality can be observed.
class OwnerWindow {
  public:
    OwnerWindow() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QmTestOwner";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, L"QmTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                               50, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

// Runs `drive` against the prompt that `show` opens; `drive` gets the prompt's window.
template <typename Show, typename Drive>
auto WithPrompt(Show show, Drive drive) {
    std::thread driver([&] {
        HWND dlg = WaitForTopLevel(GetCurrentProcessId(), kDialogClass, qm::kAppTitle);
        ASSERT_TRUE(dlg) << "the prompt never appeared";
        if (!BringToFront(dlg)) {
            ADD_FAILURE() << "the prompt did not come to the front";
            PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        drive(dlg);
    });
    const std::wstring result(show().View());
    driver.join();
    return result;
}

TEST(TextPromptTest, ShowsAnEmptyFocusedFieldAndReturnsTheTextExactlyAsTyped) {
    OwnerWindow owner;
    const std::wstring typed = L"  Mirevale & Sons, \u00c5ngstr\u00f6m  ";
    const auto result = WithPrompt(
        [&] { return qm::ShowTextPrompt(owner.hwnd, qm::kAppTitle, L"Organisation:"); },
        [&](HWND dlg) {
            HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
            EXPECT_EQ(TextOf(dlg), L"Quillmark");
            EXPECT_EQ(TextOf(GetDlgItem(dlg, qm::kPromptTextId)), L"Organisation:");
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof(gui);
            GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui);
            EXPECT_EQ(gui.hwndFocus, edit) << "typing must go straight into the field";
            EXPECT_EQ(TextOf(edit), L"");
            EXPECT_EQ(LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0)), IDOK);
            EXPECT_EQ(TextOf(GetDlgItem(dlg, IDOK)), L"OK");
            EXPECT_EQ(TextOf(GetDlgItem(dlg, IDCANCEL)), L"Cancel");
            EXPECT_FALSE(IsWindowEnabled(owner.hwnd)) << "the owner takes no input meanwhile";
            TypeText(typed);
            WaitUntil([&] { return TextOf(edit) == typed; });
            PressKey(VK_RETURN);
        });
    EXPECT_EQ(result, typed);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST(TextPromptTest, EscapeCancelAndTheCloseBoxAllGiveTheEmptyText) {
    OwnerWindow owner;
    auto show = [&] { return qm::ShowTextPrompt(owner.hwnd, qm::kAppTitle, L"Owner:"); };
    auto typeThen = [](auto finish) {
        return [finish](HWND dlg) {
            HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
            TypeText(L"abc");
            WaitUntil([&] { return TextOf(edit) == L"abc"; });
            finish(dlg);
        };
    };
    EXPECT_EQ(WithPrompt(show, typeThen([](HWND) { PressKey(VK_ESCAPE); })), L"");
    EXPECT_EQ(WithPrompt(show, typeThen([](HWND) { PressKeys({VK_MENU, VK_F4}); })), L"");
    EXPECT_EQ(WithPrompt(show, typeThen([](HWND dlg) {
                             // The close box sends this command.
                             PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
                         })),
              L"");
    EXPECT_EQ(WithPrompt(show, typeThen([](HWND) {
                             PressKey(VK_TAB);  // OK
                             PressKey(VK_TAB);  // Cancel
                             PressKey(VK_SPACE);
                         })),
              L"");
}

TEST(TextPromptTest, TakesNoMoreThan255Characters) {
    const auto result =
        WithPrompt([&] { return qm::ShowTextPrompt(nullptr, qm::kAppTitle, L"Owner:"); },
                   [&](HWND dlg) {
                       HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
                       // Pasting is how a long text arrives; the field's limit applies to it too.
                       SendMessageW(edit, EM_REPLACESEL, TRUE,
                                    reinterpret_cast<LPARAM>(std::wstring(300, L'x').c_str()));
                       PressKey(VK_RETURN);
                   });
    EXPECT_EQ(result, std::wstring(255, L'x'));
}

TEST(RealFlowTest, BothPromptsAndTheErrorBoxDrivenByKeyboard) {
    OwnerWindow owner;
    qmtest::WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "old owner");
    qm::WindowServices services(owner.hwnd);
    std::thread driver([&] {
        const DWORD me = GetCurrentProcessId();
        HWND org = WaitForTopLevel(me, kDialogClass, qm::kAppTitle);
        ASSERT_TRUE(org && BringToFront(org));
        EXPECT_EQ(TextOf(GetDlgItem(org, qm::kPromptTextId)), L"Organisation:");
        TypeText(L"Acme");
        PressKey(VK_RETURN);

        HWND who = nullptr;
        WaitUntil([&] {
            who = FindTopLevel(me, kDialogClass, qm::kAppTitle);
            return who && who != org && BringToFront(who);
        });
        ASSERT_TRUE(who) << "the owner prompt never appeared";
        EXPECT_EQ(TextOf(GetDlgItem(who, qm::kPromptTextId)), L"Owner:");
        PressKey(VK_ESCAPE);

        HWND box = WaitForTopLevel(me, kDialogClass, L"Error");
        ASSERT_TRUE(box && BringToFront(box));
        EXPECT_EQ(DialogText(box), L"Empty String");
        EXPECT_TRUE(GetDlgItem(box, IDOK)) << "a single OK button";
        EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
        PressKey(VK_RETURN);
    });
    qm::RunPromptAndStore(services);
    driver.join();
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization"), "Acme");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner"), "old owner");
}

}  // namespace

namespace {

// U+1F600, outside the Basic Multilingual Plane: two UTF-16 units.
const std::wstring kEmoji = L"\U0001F600";

std::wstring Repeat(const std::wstring& s, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

// Where the system's ANSI code page is UTF-8, every character can be stored, so a character
// cut in half by the field's limit would turn a valid answer into a refused write.
TEST(TextPromptUtf8CodePageTest, APairThatDoesNotFitIsDroppedWholeTypedOrPasted) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    auto show = [] { return qm::ShowTextPrompt(nullptr, qm::kAppTitle, L"Organisation:"); };

    // 200 pasted: 127 fit in 254 units; the 128th would need units 255 and 256.
    PutOnClipboard(Repeat(kEmoji, 200));
    const auto pasted = WithPrompt(show, [](HWND dlg) {
        HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
        PressKeys({VK_CONTROL, 'V'});
        WaitUntil([&] { return TextOf(edit).size() >= 254; });
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(pasted, Repeat(kEmoji, 127));

    // Typed after 127 of them: refused whole, and the one free unit still takes a letter.
    const auto typed = WithPrompt(show, [](HWND dlg) {
        HWND edit = GetDlgItem(dlg, qm::kPromptEditId);
        SetWindowTextW(edit, Repeat(kEmoji, 127).c_str());
        SendMessageW(edit, EM_SETSEL, 254, 254);
        TypeText(kEmoji);
        TypeText(L"x");
        WaitUntil([&] { return TextOf(edit).size() == 255; });
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(typed, Repeat(kEmoji, 127) + L"x");

    // Such an answer is stored: four UTF-8 bytes a character and the NUL.
    const std::wstring path = L"Software\\QuillmarkTest\\Utf8";
    EXPECT_EQ(modRegister::WriteRegString(HKEY_CURRENT_USER, path, L"Answer", pasted),
              ERROR_SUCCESS);
    const auto stored = ReadRaw(HKEY_CURRENT_USER, path, "Answer");
    ASSERT_TRUE(stored);
    std::string utf8;
    for (int i = 0; i < 127; ++i) utf8 += "\xF0\x9F\x98\x80";
    EXPECT_EQ(stored->bytes, utf8 + '\0');
    DeleteTree(HKEY_CURRENT_USER, L"Software\\QuillmarkTest");
}

}  // namespace

namespace {

// Under a double-byte code page (Windows 95, 98 and ME in East Asia) the field counts bytes;
// a first byte whose second did not fit is what the prompt takes back. Shift-JIS here.
TEST(TextPromptTest, FindsTheFirstByteOfACharacterCutShort) {
    constexpr UINT kShiftJis = 932;
    EXPECT_FALSE(qm::EndsWithLoneLeadByte("ab", kShiftJis));
    EXPECT_TRUE(qm::EndsWithLoneLeadByte("ab\x82", kShiftJis));
    EXPECT_FALSE(qm::EndsWithLoneLeadByte("ab\x82\xA0", kShiftJis)) << "a whole character";
    EXPECT_FALSE(qm::EndsWithLoneLeadByte("\x82\x82", kShiftJis)) << "a second byte like a first";
    EXPECT_TRUE(qm::EndsWithLoneLeadByte("\x82\x82\x82", kShiftJis));
    EXPECT_FALSE(qm::EndsWithLoneLeadByte("ab\x82", 1252)) << "one byte, one character";
}

}  // namespace
