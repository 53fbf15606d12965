// The settings step of start-up: the language request from the command line and the settings file,
// then language resolution; and its undoing at shutdown.
#pragma once

namespace attente {

void SettingsStep();
void ClearSettings();

} // namespace attente
