// Runs the settings readers in their order of precedence and hands over to language resolution.
#include "SettingsStep.h"

#include "CommandLine.h"
#include "LanguageValues.h"
#include "ResolveLanguage.h"
#include "SettingsFile.h"

namespace attente {

void SettingsStep() {
    RequestedLanguage = std::string();
    // A command line that cannot be read is as good as none; the settings file still counts.
    (void)ReadCommandLine();
    ReadSettingsFile();
    ResolveLanguage();
}

void ClearSettings() {
    ClearSwitches();
    ClearLanguageValues();
}

} // namespace attente
