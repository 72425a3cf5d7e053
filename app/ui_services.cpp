#include "app/ui_services.h"

#include "app/system_ui.h"

namespace qm {

PromptText WindowServices::Prompt(const wchar_t* text) {
    return ShowTextPrompt(owner_, kAppTitle, text);
}

void WindowServices::Message(const wchar_t* text, const wchar_t* title, UINT style) {
    sys::ShowMessage(owner_, text, title, style);
}

}  // namespace qm
