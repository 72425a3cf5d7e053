#include <windows.h>

#include "app/message_loop.h"
#include "app/system_ui.h"
#include "app/ui_services.h"
#include "ui/frmRegister.h"

// The command line is not read: the program always starts the same way. The ANSI entry
// point, so that the runtime's start-up works on Windows 95, 98 and ME as well.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    qm::frmRegister form;
    if (!form.Create(showCommand)) {
        // Only a damaged executable gets here (its pictures failed their check).
        qm::sys::ShowMessage(nullptr, L"Quillmark could not open its window.", qm::kAppTitle,
                             MB_OK | MB_ICONSTOP);
        return 1;
    }
    return qm::RunMessageLoop(form.Window());
}
