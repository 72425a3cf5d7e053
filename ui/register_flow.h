#pragma once
#include "app/ui_services.h"

namespace qm {

// Asks for the organisation, then the owner, and stores each answer as it comes. The first
// empty answer, or the first write that fails, ends the run with an error box.
void RunPromptAndStore(UiServices& ui) noexcept;

}  // namespace qm
