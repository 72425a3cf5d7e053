#include <windows.h>

#include "app/message_loop.h"
#include "app/ui_services.h"
#include "ui/frmRegister.h"

// The command line is not read: the program always starts the same way.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    qm::frmRegister form;
    if (!form.Create(showCommand)) {
        // Only a damaged executable gets here (its pictures failed their check).
        MessageBoxW(nullptr, L"Quillmark could not open its window.", qm::kAppTitle,
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
    return qm::RunMessageLoop(form.Window());
}
