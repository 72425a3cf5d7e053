#include "app/message_loop.h"

#include "app/system_ui.h"

namespace qm {

int RunMessageLoop(HWND keyboardWindow) noexcept {
    MSG msg;
    while (sys::NextMessage(msg)) {
        if (IsWindow(keyboardWindow) && sys::DispatchDialogMessage(keyboardWindow, msg)) continue;
        TranslateMessage(&msg);
        sys::Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace qm
