// Creation of the main window: the one place where the status window is tied into the application.
#pragma once

#include "Application.h"

#include <memory>

namespace attente {

// Creates the status window from its description in the resource source; raises when that fails.
std::unique_ptr<TMainWindow> CreateMainForm();

} // namespace attente
