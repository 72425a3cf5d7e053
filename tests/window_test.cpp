// The real program of this build's bitness in Wine's virtual desktop, measured and driven
// with real input.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "tests/program.h"
#include "tests/test_registry.h"
#include "tools/uidriver/ui_driver.h"

namespace {

using namespace qmtest;

constexpr wchar_t kCaption[] = L"Change Registered Name Of Your Computer";
constexpr wchar_t kLabelText[] =
    L"      This tool allows you to change the registered owner and organisation of"
    L"                             your computer ";

// A picture file from ui/art as the system decodes it, independently of the program's loader.
struct Art {
    explicit Art(const char* name) {
        std::ifstream in(std::string(QM_ART_DIR) + "\\" + name, std::ios::binary);
        const std::string file(std::istreambuf_iterator<char>(in), {});
        const auto& head = *reinterpret_cast<const BITMAPFILEHEADER*>(file.data());
        const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof head);
        const int w = info->bmiHeader.biWidth, h = info->bmiHeader.biHeight;
        pixels.emplace(w, h, [&](HDC dc) {
            SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, file.data() + head.bfOffBits, info,
                              DIB_RGB_COLORS);
        });
    }
    int Width() const { return pixels->Width(); }
    int Height() const { return pixels->Height(); }
    COLORREF At(int x, int y) const { return pixels->At(x, y); }  // y from the top
    COLORREF Turned(int x, int y) const { return At(Width() - 1 - x, Height() - 1 - y); }
    std::optional<Pixels> pixels;
};

RECT Rect(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// The label's text drawn here, off screen, with the font and colours it must have.
struct Reference {
    std::wstring face;  // the face the system chose for that font
    Pixels pixels;
};

Reference LabelAsThePlatformDrawsIt(int width, int height) {
    wchar_t face[LF_FACESIZE] = {};
    Pixels pixels(width, height, [&](HDC dc) {
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT r = {0, 0, width, height};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, RGB(0, 255, 0));
        SetBkColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, kLabelText, -1, &r, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    });
    return {face, std::move(pixels)};
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = WaitForTopLevel(app.Id(), nullptr, kCaption);
        ASSERT_TRUE(window) << "the main window never appeared";
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            children.push_back(c);
        ASSERT_EQ(children.size(), 3u);
        continueButton = children[0];
        backButton = children[1];
        label = children[2];
        ASSERT_TRUE(BringToFront(window));
    }

    RECT ClientOnScreen() const {
        RECT r;
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT InClient(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    HWND Focus() const {
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof(gui);
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
        return gui.hwndFocus;
    }
    // The client area once drawing has settled: two grabs in a row agree.
    Pixels SettledClient() const {
        Pixels last = Pixels::OfScreen(ClientOnScreen());
        for (int i = 0; i < 100; ++i) {
            Sleep(30);
            Pixels now = Pixels::OfScreen(ClientOnScreen());
            if (now == last) break;
            last = now;
        }
        return last;
    }
    // Pixels inside a button's border that differ from `art` centred on it (turned or not).
    int ButtonMismatches(const Pixels& grab, HWND button, const Art& art, bool turned,
                         COLORREF face) const {
        const RECT b = InClient(button);
        const int w = b.right - b.left, h = b.bottom - b.top;
        const int left = (w - art.Width()) / 2, top = (h - art.Height()) / 2;
        const bool focused = Focus() == button;
        int bad = 0;
        for (int y = 2; y < h - 2; ++y)
            for (int x = 2; x < w - 2; ++x) {
                if (focused && (x == 3 || y == 3 || x == w - 4 || y == h - 4)) continue;
                const int px = x - left, py = y - top;
                const bool onArt = px >= 0 && py >= 0 && px < art.Width() && py < art.Height();
                const COLORREF want = !onArt ? face : turned ? art.Turned(px, py) : art.At(px, py);
                if (grab.At(b.left + x, b.top + y) != want) ++bad;
            }
        return bad;
    }

    Process app{ProgramUnderTest()};
    HWND window = nullptr;
    std::vector<HWND> children;
    HWND continueButton = nullptr, backButton = nullptr, label = nullptr;
    const Art background{"background.bmp"}, back{"back.bmp"}, cont{"continue.bmp"};
};

TEST_F(MainWindowTest, FrameControlsAndFocusAreAsDesigned) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION) << "a title bar";
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame cannot be dragged to resize";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 370);
    EXPECT_EQ(client.bottom, 126);

    const struct {
        HWND hwnd;
        const wchar_t* className;
        RECT rect;
        const wchar_t* text;
    } rows[] = {
        {continueButton, L"Button", Rect(16, 80, 113, 33), L"Continue"},
        {backButton, L"Button", Rect(240, 80, 113, 33), L"Back"},
        {label, L"Static", Rect(48, 8, 297, 65), kLabelText},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ClassOf(row.hwnd), row.className);
        EXPECT_TRUE(EqualRect(&row.rect, &static_cast<const RECT&>(InClient(row.hwnd))))
            << TextOf(row.hwnd).c_str();
        EXPECT_EQ(TextOf(row.hwnd), row.text);
    }
    EXPECT_EQ(TextOf(label).size(), 120u);
    for (HWND button : {continueButton, backButton}) {
        const LONG s = GetWindowLongW(button, GWL_STYLE);
        EXPECT_EQ(s & BS_TYPEMASK, BS_OWNERDRAW) << "picture buttons are never the default";
        EXPECT_TRUE(s & WS_TABSTOP);
    }
    EXPECT_FALSE(GetWindowLongW(label, GWL_STYLE) & WS_TABSTOP);

    // Focus starts on Continue; Tab goes Continue -> Back -> Continue, skipping the label.
    // Activation passes through the frame on its way to the control that had the focus.
    EXPECT_TRUE(WaitUntil([&] { return Focus() == continueButton; }, 2s));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() == backButton; }));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() == continueButton; }));
}

TEST_F(MainWindowTest, PixelsAreTheArtworkExactly) {
    const Pixels grab = SettledClient();
    const RECT cover[] = {InClient(continueButton), InClient(backButton), InClient(label)};
    int bad = 0;
    for (int y = 0; y < grab.Height(); ++y)
        for (int x = 0; x < grab.Width(); ++x) {
            bool covered = false;
            for (const RECT& r : cover) covered = covered || PtInRect(&r, POINT{x, y});
            if (!covered && grab.At(x, y) != background.At(x, y)) ++bad;
        }
    EXPECT_EQ(bad, 0) << "the background is bitmap A's top-left corner, unscaled";

    EXPECT_EQ(ButtonMismatches(grab, continueButton, cont, false, RGB(0, 0, 0)), 0);
    EXPECT_EQ(ButtonMismatches(grab, backButton, back, false, GetSysColor(COLOR_BTNFACE)), 0);

    // The description: the text as the platform draws it in MS Sans Serif, 12 points,
    // regular, ANSI, green on black, word-wrapped and left-aligned within the label.
    const RECT l = InClient(label);
    const Reference want = LabelAsThePlatformDrawsIt(l.right - l.left, l.bottom - l.top);
    EXPECT_EQ(want.face, L"MS Sans Serif");
    int differ = 0, green = 0;
    for (int y = l.top; y < l.bottom; ++y)
        for (int x = l.left; x < l.right; ++x) {
            const COLORREF c = grab.At(x, y);
            differ += c != want.pixels.At(x - l.left, y - l.top);
            green += c == RGB(0, 255, 0);
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(green, 500);
}

TEST_F(MainWindowTest, HeldButtonsShowTheirWordTurnedAndReleasingOutsideDoesNotClick) {
    const struct {
        HWND button;
        const Art& art;
        COLORREF face;
    } buttons[] = {{continueButton, cont, RGB(0, 0, 0)},
                   {backButton, back, GetSysColor(COLOR_BTNFACE)}};
    for (const auto& b : buttons) {
        ASSERT_TRUE(MouseTo(CentreOf(b.button)) && MouseDown());
        EXPECT_TRUE(WaitUntil([&] {
            return ButtonMismatches(SettledClient(), b.button, b.art, true, b.face) == 0;
        })) << TextOf(b.button).c_str()
            << " held down";
        ASSERT_TRUE(MouseTo(CentreOf(label)) && MouseUp());
        EXPECT_TRUE(WaitUntil([&] {
            return ButtonMismatches(SettledClient(), b.button, b.art, false, b.face) == 0;
        })) << TextOf(b.button).c_str()
            << " released";
    }
    EXPECT_FALSE(WaitForTopLevel(app.Id(), L"#32770", nullptr, 1s)) << "no prompt was asked for";
    EXPECT_TRUE(app.Running()) << "Back released outside must not close";
}

TEST_F(MainWindowTest, ContinueRunsTheFlowAndBackEndsTheProgram) {
    const auto org = [] {
        return ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization");
    };
    const auto owner = [] {
        return ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner");
    };
    auto answer = [&](const wchar_t* prompt, const wchar_t* text) {
        HWND dlg = WaitForTopLevel(app.Id(), L"#32770", L"Quillmark");
        ASSERT_TRUE(dlg) << "no prompt " << prompt;
        EXPECT_EQ(DialogText(dlg), prompt);
        EXPECT_FALSE(IsWindowEnabled(window)) << "the main window takes no input meanwhile";
        ASSERT_TRUE(BringToFront(dlg));
        TypeText(text);
        PressKey(text[0] ? VK_RETURN : VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
    };

    // The program writes its own registry view only (a 32-bit one is redirected to the
    // 32-bit view, as on 64-bit Windows); what the other view holds stays.
    for (const char* name : {"RegisteredOrganization", "RegisteredOwner"})
        WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, name, "other view", kOtherView);

    ASSERT_TRUE(Click(CentreOf(continueButton)));
    answer(L"Organisation:", L"Mirevale Works");
    answer(L"Owner:", L"Ada Quill");
    EXPECT_TRUE(WaitUntil([&] { return owner() == "Ada Quill"; }));
    EXPECT_EQ(org(), "Mirevale Works");
    for (const char* name : {"RegisteredOrganization", "RegisteredOwner"})
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, name, kOtherView), "other view")
            << name;
    EXPECT_FALSE(WaitForTopLevel(app.Id(), L"#32770", nullptr, 500ms)) << "nothing after success";

    // The keyboard way: Tab to Back, Tab back to Continue, Space; cancel the first prompt.
    ASSERT_TRUE(BringToFront(window));
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return Focus() == continueButton; }));
    PressKey(VK_SPACE);
    answer(L"Organisation:", L"");
    HWND box = WaitForTopLevel(app.Id(), L"#32770", L"Error");
    ASSERT_TRUE(box);
    EXPECT_EQ(DialogText(box), L"Empty String");
    ASSERT_TRUE(BringToFront(box));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(org(), "Mirevale Works") << "a cancelled run writes nothing";

    ASSERT_TRUE(Click(CentreOf(backButton)));
    EXPECT_TRUE(app.WaitForExit()) << "Back ends the program";
    DWORD code = 1;
    GetExitCodeProcess(app.Handle(), &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(MainWindowTest, AltF4EndsTheProgramWithoutAQuestion) {
    PressKeys({VK_MENU, VK_F4});
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgram) {
    // Find the close box along the caption the way the system does.
    RECT frame;
    GetWindowRect(window, &frame);
    const RECT client = ClientOnScreen();
    const int y = (frame.top + client.top) / 2;
    POINT closeBox = {};
    for (int x = frame.right - 1; x > frame.left && !closeBox.x; --x)
        if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            closeBox = {x - 4, y};
    ASSERT_TRUE(closeBox.x) << "no close box on the caption";
    ASSERT_TRUE(Click(closeBox));
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
