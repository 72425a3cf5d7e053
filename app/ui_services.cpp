#include "app/ui_services.h"

#include "app/text_prompt.h"

namespace qm {

std::wstring WindowServices::Prompt(std::wstring_view text) {
    return ShowTextPrompt(owner_, kAppTitle, text);
}

void WindowServices::Message(std::wstring_view text, std::wstring_view title, UINT style) {
    MessageBoxW(owner_, std::wstring(text).c_str(), std::wstring(title).c_str(), style);
}

}  // namespace qm
