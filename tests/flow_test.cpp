// The prompt-and-store flow with scripted answers, writing to the prefix's real HKLM.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "tests/test_registry.h"
#include "ui/register_flow.h"

namespace {

using qmtest::kCurrentVersion;

struct Shown {
    std::wstring text, title;
    UINT style;
};

class ScriptedUi : public qm::UiServices {
  public:
    explicit ScriptedUi(std::deque<std::wstring> answers) : answers_(std::move(answers)) {}
    qm::PromptText Prompt(std::wstring_view text) override {
        prompts.emplace_back(text);
        if (answers_.empty()) return {};
        qm::PromptText answer(answers_.front());
        answers_.pop_front();
        return answer;
    }
    void Message(const wchar_t* text, const wchar_t* title, UINT style) override {
        messages.push_back({text, title, style});
    }
    std::vector<std::wstring> prompts;
    std::vector<Shown> messages;

  private:
    std::deque<std::wstring> answers_;
};

class FlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u);
        qmtest::WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", "old org");
        qmtest::WriteText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "old owner");
    }
    static std::optional<std::string> Org() { return Value("RegisteredOrganization"); }
    static std::optional<std::string> Owner() { return Value("RegisteredOwner"); }
    static std::optional<std::string> Value(const char* name) {
        return qmtest::ReadText(HKEY_LOCAL_MACHINE, kCurrentVersion, name);
    }
    static void ExpectEmptyStringBox(const ScriptedUi& ui) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, L"Empty String");
        EXPECT_EQ(ui.messages[0].title, L"Error");
        EXPECT_EQ(ui.messages[0].style, 16u);
    }
};

TEST_F(FlowTest, CancelAtTheFirstPromptWritesNothingAndNeverAsksForTheOwner) {
    ScriptedUi ui({L""});
    qm::RunPromptAndStore(ui);
    EXPECT_EQ(ui.prompts, std::vector<std::wstring>{L"Organisation:"});
    ExpectEmptyStringBox(ui);
    EXPECT_EQ(Org(), "old org");
    EXPECT_EQ(Owner(), "old owner");
}

TEST_F(FlowTest, OrganisationStaysStoredWhenTheOwnerIsCancelled) {
    ScriptedUi ui({L"Acme", L""});
    qm::RunPromptAndStore(ui);
    EXPECT_EQ(ui.prompts, (std::vector<std::wstring>{L"Organisation:", L"Owner:"}));
    ExpectEmptyStringBox(ui);
    EXPECT_EQ(Org(), "Acme");
    EXPECT_EQ(Owner(), "old owner");
}

TEST_F(FlowTest, StoresBothAnswersAsTypedAndSaysNothing) {
    ScriptedUi ui({L"  Acme Ltd ", L"   "});
    qm::RunPromptAndStore(ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Org(), "  Acme Ltd ");
    EXPECT_EQ(Owner(), "   ") << "spaces are an answer and are not trimmed";

    ScriptedUi again({L"Second Org", L"Second Owner"});
    qm::RunPromptAndStore(again);
    EXPECT_EQ(again.prompts.size(), 2u) << "every run starts over";
    EXPECT_EQ(Org(), "Second Org");
    EXPECT_EQ(Owner(), "Second Owner");
}

TEST_F(FlowTest, AFailedWriteIsReportedAndEndsTheRun) {
    ScriptedUi ui({L"\u4e2d\u6587", L"never asked"});
    qm::RunPromptAndStore(ui);
    EXPECT_EQ(ui.prompts.size(), 1u) << "the owner prompt must not follow a failed write";
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::wstring& text = ui.messages[0].text;
    const std::wstring lead = L"Could not write RegisteredOrganization: ";
    ASSERT_EQ(text.rfind(lead, 0), 0u) << text.c_str();
    EXPECT_GT(text.size(), lead.size()) << "the system's reason follows";
    EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_EQ(ui.messages[0].title, L"Error");
    EXPECT_EQ(ui.messages[0].style, 16u);
    EXPECT_EQ(Org(), "old org");

    ScriptedUi owner({L"Acme", L"J\u00f6rg \u0141"});
    qm::RunPromptAndStore(owner);
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].text.rfind(L"Could not write RegisteredOwner: ", 0), 0u);
    EXPECT_EQ(Org(), "Acme");
    EXPECT_EQ(Owner(), "old owner");
}

}  // namespace
