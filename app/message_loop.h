#pragma once
#include <windows.h>

namespace qm {

// Runs until WM_QUIT; `keyboardWindow` gets dialog-style keys (Tab between its buttons).
int RunMessageLoop(HWND keyboardWindow) noexcept;

}  // namespace qm
