#include <windows.h>

#include "app/message_loop.h"
#include "ui/frmRegister.h"

// The command line is not read: the program always starts the same way.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    qm::frmRegister form;
    if (!form.Create(showCommand)) return 1;
    return qm::RunMessageLoop(form.Window());
}
