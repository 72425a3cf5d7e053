// The prompt-and-store flow with scripted answers, against the prefix's real HKLM; half characters.
#include <gtest/gtest.h>

#include <regex>
#include <tuple>
#include <vector>

#include "app/system_message.h"
#include "app/system_ui.h"
#include "app/text_prompt.h"
#include "tests/support.h"
#include "ui/register_flow.h"

namespace {

using namespace qmtest;

struct ScriptedUi : qm::UiServices {
    qm::PromptText Prompt(const wchar_t* text) override {
        prompts.emplace_back(text);
        return qm::PromptText(prompts.size() <= answers.size() ? answers[prompts.size() - 1] : L"");
    }
    void Message(const wchar_t* text, const wchar_t* title, UINT style) override {
        messages.push_back(std::wstring(text) + L" | " + title + L" | " + std::to_wstring(style));
    }
    std::vector<std::wstring> answers, prompts, messages;
};

TEST(FlowTest, AsksForEachValueInTurnAndStopsAtTheFirstProblem) {
    ASSERT_EQ(GetACP(), 1252u) << "the stored bytes are Western code page ones";
    const std::wstring kPrompts[] = {L"Organisation:", L"Owner:"};
    const struct {
        std::vector<std::wstring> answers;
        size_t prompts;  // the last of them names the value that could not be written
        std::optional<Raw> organisation;  // the owner is never written
    } cases[] = {
        {{L"\u4e2d\u6587", L"x"}, 1, Sz("old org")},
        {{L"Acme", L"J\u00f6rg \u0141"}, 2, Sz("Acme")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.answers));
        ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[0], "old org"));
        ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[1], "old owner"));
        ScriptedUi ui;
        ui.answers = c.answers;
        qm::RunPromptAndStore(ui);
        EXPECT_EQ(ui.prompts, std::vector<std::wstring>(kPrompts, kPrompts + c.prompts));
        // One line with the system's reason, titled "Error", the stop icon (16).
        const std::wstring value = c.prompts == 1 ? L"RegisteredOrganization" : L"RegisteredOwner";
        const std::wregex message(L"Could not write " + value + L": .+ \\| Error \\| 16");
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(std::regex_match(ui.messages[0], message)) << ui.messages[0].c_str();
        EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[0]), c.organisation);
        EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[1]), Sz("old owner"));
    }
}

// The system's own wording, through the ANSI functions on 95, 98 and ME (this suite also runs
// as Windows 98); a status the system has no words for shows as its number.
TEST(SystemMessageTest, GivesTheSystemsReasonOnEveryWindows) {
    const std::wstring as = Env(L"QM_RUN_AS");
    ASSERT_EQ(qm::sys::AnsiOnly(), as == L"win98") << "set-up: runs as " << as;
    wchar_t words[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_ACCESS_DENIED, 0, words, 512, nullptr);
    const std::wstring reason = std::wstring(words).substr(0, wcscspn(words, L"\r\n"));
    ASSERT_FALSE(reason.empty()) << "set-up: the system has words for access denied";
    EXPECT_EQ(qm::SystemMessage(ERROR_ACCESS_DENIED).View(), reason);
    EXPECT_EQ(qm::SystemMessage(0x20000001).View(), L"Error 536870913") << "an application's own status";
}

// Under a double-byte code page (Windows 95, 98 and ME in East Asia) the field counts bytes;
// a first byte whose second did not fit is what the prompt takes back. Shift-JIS here.
TEST(FlowTest, FindsTheFirstByteOfACharacterCutShort) {
    const std::tuple<const char*, UINT, bool> cases[] = {
        {"ab", 932, false}, {"ab\x82", 932, true}, {"ab\x82\xA0", 932, false},  // a whole character
        {"\x82\x82", 932, false}, {"\x82\x82\x82", 932, true},  // a second byte like a first
        {"ab\x82", 1252, false}};                               // one byte, one character
    for (auto [text, cp, cut] : cases) EXPECT_EQ(qm::EndsWithLoneLeadByte(text, cp), cut) << text;
    // Typed one unit at a time: 1, a character's first (or only) unit; 2, its second.
    const std::tuple<qm::TypedHalves, std::wstring, std::string> typed[] = {
        {{true, 932}, L"a\x82\xA0\x82\x82" L"b", "112121"}, {{true, 1252}, L"a\x82\x82", "111"},
        {{false, 0}, L"a\xD83D\xDE00" L"b", "1121"}};
    for (auto [halves, units, expected] : typed) {
        std::string seen;
        for (wchar_t unit : units) seen += halves.IsSecondHalf(unit) ? '2' : '1';
        EXPECT_EQ(seen, expected);
    }
}

}  // namespace
