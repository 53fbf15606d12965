// The entry: runs the start-up steps in their fixed order and the shutdown in reverse, also when a
// step fails.
#include <windows.h>

#include "Application.h"
#include "CommandLine.h"
#include "DllSearch.h"
#include "InitLangue.h"
#include "Lifecycle.h"
#include "MainForm.h"
#include "Relay.h"
#include "ResourceSource.h"
#include "SettingsStep.h"
#include "StartupFailure.h"
#include "StartupTrace.h"
#include "SwitchNames.h"
#include "ThrowSite.h"

#include <cstdint>

namespace {

int RunProgram(HINSTANCE instance) {
    using namespace attente;

    // A start that only talks to the open window takes none of the steps below.
    if (const std::optional<int> relayed = RelayIfAsked()) return *relayed;

    // 1. The start-up selection of the resource source, before any resource is read.
    InitModuleRecord(instance);
    AtShutdown(ReleaseModuleRecord);
    StartupSelection();
    TraceStartupStep("1.resources");

    // 2. The language table.
    BuildLanguageTable();
    AtShutdown(ReleaseLanguageTable);
    TraceStartupStep("2.languages");

    // 3. The settings step: the language request, then language resolution.
    AtShutdown(ClearSettings);
    SettingsStep();
    TraceStartupStep("3.settings");

    // 4. The application object and its main window, read from the module just installed.
    TApplication application;
    application.SetMainForm(CreateMainForm());
    TraceStartupStep("4.window");

    // 5. The main window shown (not with /HIDDEN), then the message loop until it closes.
    return application.Run(Switches.HasFlag(kHiddenSwitch) ? TApplication::kNotShown : StartupShowState());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    attente::TraceStartupStep("0.entry");
    // Before anything else: nothing may load a DLL by name from the exe's folder.
    attente::RestrictDllSearch();
    int exitCode = attente::kStartupFailureExitCode;
    try {
        exitCode = RunProgram(instance);
    } catch (...) {
        attente::ShowStartupFailure(attente::LastThrowSite());
    }
    // 6. Shutdown, in reverse order.
    attente::Shutdown();
    return exitCode;
}
