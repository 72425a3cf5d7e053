#pragma once
namespace qm {

// The whole program between its entry point and ExitProcess: the main window, shown as the
// starter asked (`showCommand`, an SW_ value), and the message loop until it is gone.
// Returns the process's exit code: 0, or 1 when the window could not be made.
int RunProgram(int showCommand) noexcept;

}  // namespace qm
