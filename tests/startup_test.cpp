// Starting and ending the real program: arguments, two copies, nothing written on the way out.
#include <gtest/gtest.h>

#include "tests/program.h"
#include "tests/test_registry.h"
#include "tools/uidriver/ui_driver.h"

namespace {

using namespace qmtest;

constexpr wchar_t kCaption[] = L"Change Registered Name Of Your Computer";

HWND BackButtonOf(HWND window) { return FindWindowExW(window, nullptr, L"Button", L"Back"); }

TEST(StartupTest, ArgumentsChangeNothingAndClosingWritesNothing) {
    WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", "sentinel org");
    WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "sentinel owner");

    Process app(ProgramUnderTest(), L"/organisation:Evil --owner \"Some One\" -x");
    HWND window = WaitForTopLevel(app.Id(), nullptr, kCaption);
    ASSERT_TRUE(window);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 370);
    EXPECT_EQ(client.bottom, 126);
    HWND back = BackButtonOf(window);
    ASSERT_TRUE(back);
    ASSERT_TRUE(BringToFront(window));
    ASSERT_TRUE(Click(CentreOf(back)));
    ASSERT_TRUE(app.WaitForExit());
    DWORD code = 1;
    GetExitCodeProcess(app.Handle(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization"),
              "sentinel org");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner"), "sentinel owner");
}

TEST(StartupTest, TwoCopiesGiveTwoIndependentWindows) {
    Process first(ProgramUnderTest()), second(ProgramUnderTest());
    HWND one = WaitForTopLevel(first.Id(), nullptr, kCaption);
    HWND two = WaitForTopLevel(second.Id(), nullptr, kCaption);
    ASSERT_TRUE(one && two);
    EXPECT_NE(one, two);

    // Move the second aside so that a click on the first cannot land on it.
    SetWindowPos(two, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(BringToFront(one));
    ASSERT_TRUE(Click(CentreOf(BackButtonOf(one))));
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.Running()) << "closing one copy leaves the other alone";
    EXPECT_TRUE(IsWindowVisible(two));
}

TEST(StartupTest, AFixedWindowStartedMaximisedKeepsItsSize) {
    Process maximised(ProgramUnderTest(), L"", SW_SHOWMAXIMIZED);
    HWND window = WaitForTopLevel(maximised.Id(), nullptr, kCaption);
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsZoomed(window)) << "shown normally instead";
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 370);
    EXPECT_EQ(client.bottom, 126);

    Process minimised(ProgramUnderTest(), L"", SW_SHOWMINNOACTIVE);
    HWND icon = WaitForTopLevel(minimised.Id(), nullptr, kCaption);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(icon) != FALSE; })) << "minimised stays so";
}

}  // namespace
