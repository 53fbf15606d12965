// Runs the settings readers in their order of precedence and hands over to language resolution.
#include "SettingsStep.h"

#include "CommandLine.h"
#include "Diagnostics.h"
#include "DiagnosticsReport.h"
#include "LanguageValues.h"
#include "ResolveLanguage.h"
#include "SettingsFile.h"
#include "SwitchNames.h"

namespace attente {

void SettingsStep() {
    RequestedLanguage = std::string();
    // A command line that cannot be read is as good as none; the settings file still counts.
    (void)ReadCommandLine();
    if (!RequestedLanguage.empty()) Diagnostics.Request(TRequestSource::CommandLine);
    ReadSettingsFile();
    if (Diagnostics.Request() == TRequestSource::None && !RequestedLanguage.empty())
        Diagnostics.Request(TRequestSource::SettingsFile);
    ResolveLanguage();
    const std::string reportPath = Switches.RawValue(kDiagnosticsSwitch);
    if (!reportPath.empty()) (void)WriteDiagnosticsReport(reportPath);
}

void ClearSettings() {
    ClearSwitches();
    Diagnostics.Clear();
    ClearLanguageValues();
}

} // namespace attente
