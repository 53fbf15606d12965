// Creation of the main window: the one place where the status window is tied into the application.
#pragma once

#include "Form.h"

#include <memory>

namespace attente {

// Creates the status window from its description in the resource source; raises when that fails.
std::unique_ptr<TForm> CreateMainForm();

} // namespace attente
