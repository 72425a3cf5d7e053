#include "app/message_loop.h"

namespace qm {

int RunMessageLoop(HWND keyboardWindow) noexcept {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsWindow(keyboardWindow) && IsDialogMessageW(keyboardWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace qm
