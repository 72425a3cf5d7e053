// The real modal prompt and message box, driven with keystrokes from a second thread.
#include <gtest/gtest.h>

#include <thread>

#include "app/text_prompt.h"
#include "app/ui_services.h"
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
    auto result = show();
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
