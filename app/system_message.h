#pragma once
#include <windows.h>

#include <string>

namespace qm {

// The system's own wording for a Win32 status, without the trailing line break.
std::wstring SystemMessage(DWORD status);

}  // namespace qm
