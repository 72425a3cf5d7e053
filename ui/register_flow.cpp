#include "ui/register_flow.h"

#include "app/system_message.h"
#include "registry/modRegister.h"

namespace qm {
namespace {

struct Step {
    const wchar_t* prompt;
    std::wstring_view valueName;  // the system spells it with a z
};

constexpr Step kSteps[] = {
    {L"Organisation:", L"RegisteredOrganization"},
    {L"Owner:", L"RegisteredOwner"},
};

// Views made at compile time, so that no run-time library has to measure them.
constexpr std::wstring_view kKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion";
constexpr UINT kErrorStyle = MB_OK | MB_ICONSTOP;  // 16

}  // namespace

void RunPromptAndStore(UiServices& ui) noexcept {
    for (const Step& step : kSteps) {
        // Compared as typed: an answer of spaces is an answer.
        const PromptText answer = ui.Prompt(step.prompt);
        if (answer.empty()) {
            ui.Message(L"Empty String", L"Error", kErrorStyle);
            return;
        }
        const LONG status = modRegister::WriteRegString(HKEY_LOCAL_MACHINE, kKeyPath,
                                                        step.valueName, answer.View());
        if (status != ERROR_SUCCESS) {
            FixedText<600> text;
            text.Append(L"Could not write ")
                .Append(step.valueName)
                .Append(L": ")
                .Append(SystemMessage(static_cast<DWORD>(status)).View());
            ui.Message(text.c_str(), L"Error", kErrorStyle);
            return;
        }
    }
}

}  // namespace qm
