// Start-up and shutdown. No C run-time library starts or ends this program: Windows calls
// the entry point below, and the process ends with ExitProcess once the window is gone.
#include <windows.h>

#include "app/message_loop.h"
#include "app/system_ui.h"
#include "app/ui_services.h"
#include "ui/frmRegister.h"

namespace {

// How the starter asked for the window to be shown (a shortcut set to "Minimised",
// start /min), as a run-time library hands it to WinMain.
int RequestedShowCommand() noexcept {
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

int Run() noexcept {
    qm::frmRegister form;
    if (!form.Create(RequestedShowCommand())) {
        // Only a damaged executable gets here (its pictures failed their check).
        qm::sys::ShowMessage(nullptr, L"Quillmark could not open its window.", qm::kAppTitle,
                             MB_OK | MB_ICONSTOP);
        return 1;
    }
    return qm::RunMessageLoop(form.Window());
}

}  // namespace

// The linker's default entry point for a graphical program. The command line is not read:
// the program always starts the same way. The stack is realigned for the 32-bit build, where
// Windows promises only 4 bytes.
extern "C" [[noreturn]] __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    ExitProcess(static_cast<UINT>(Run()));  // the window and its pictures are gone by now
}
