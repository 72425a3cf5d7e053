#include "app/system_message.h"

#include "app/system_ui.h"

namespace qm {

MessageText SystemMessage(DWORD status) noexcept {
    MessageText text;
    std::size_t n = static_cast<std::size_t>(
        sys::SystemMessageText(status, text.Buffer(), MessageText::BufferSize()));
    while (n > 0 && (text.c_str()[n - 1] == L'\n' || text.c_str()[n - 1] == L'\r')) --n;
    text.SetSize(n);
    if (text.empty()) {
        // No wording for it: the number, as "Error 1234".
        wchar_t digits[10];
        int count = 0;
        do digits[count++] = static_cast<wchar_t>(L'0' + status % 10);
        while ((status /= 10) != 0);
        text.Append(L"Error ");
        while (count > 0) text.Append(std::wstring_view(&digits[--count], 1));
    }
    return text;
}

}  // namespace qm
