#include "app/program.h"

#include "app/message_loop.h"
#include "app/system_ui.h"
#include "app/ui_services.h"
#include "ui/frmRegister.h"

namespace qm {

int RunProgram(int showCommand) noexcept {
    {
        frmRegister form;
        if (form.Create(showCommand)) return RunMessageLoop(form.Window());
    }
    // The window, or one of its controls, pictures or its font, could not be made: on
    // Windows 95, 98 and ME when the system's 64 KB heaps for windows and for drawing are
    // full (many programs open), anywhere when the executable is damaged. What was made is
    // gone by now.
    sys::ShowMessage(nullptr, L"Quillmark could not open its window.", kAppTitle,
                     MB_OK | MB_ICONSTOP);
    return 1;
}

}  // namespace qm
