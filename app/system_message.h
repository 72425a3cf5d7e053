#pragma once
#include <windows.h>

#include "app/fixed_text.h"

namespace qm {

using MessageText = FixedText<512>;

// The system's own wording for a Win32 status, without the trailing line break.
MessageText SystemMessage(DWORD status) noexcept;

}  // namespace qm
