// Start-up and shutdown. No C run-time library starts or ends this program: Windows calls
// the entry point below, and the process ends with ExitProcess once the window is gone.
#include <windows.h>

#include "app/program.h"

namespace {

// How the starter asked for the window to be shown (a shortcut set to "Minimised",
// start /min), as a run-time library hands it to WinMain.
int RequestedShowCommand() noexcept {
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The linker's default entry point for a graphical program. The command line is not read:
// the program always starts the same way.
extern "C" [[noreturn]] void WinMainCRTStartup() {
    ExitProcess(static_cast<UINT>(qm::RunProgram(RequestedShowCommand())));
}
