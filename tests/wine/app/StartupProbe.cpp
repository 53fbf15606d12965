// A stand-in for the program that the tests copy as setup.exe beside modules and settings files and
// start as a real process. ATTENTE_PROBE picks the part of start-up it runs (the command line itself
// is under test); it reports the values it ends with as NAME=hex lines on standard output.
#include "Application.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "LanguageValues.h"
#include "Lifecycle.h"
#include "ModuleFiles.h"
#include "ModuleLocaleOverride.h"
#include "ProbeReport.h"
#include "SettingsFile.h"
#include "TextFormat.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace attente;

namespace {

using attente::test::Report;

// Messages the tests post to the probe's window.
constexpr UINT kRaiseMessage = WM_APP + 1; // wParam 0: a message with no stop, 1: an empty message
constexpr UINT kExitMessage = WM_APP + 2;  // ExitApplication(wParam)

std::string Mode() {
    const char* mode = std::getenv("ATTENTE_PROBE");
    return mode ? mode : "";
}

int ProbeSettings() {
    RequestedLanguage.clear();
    Report("ReadCommandLine", ReadCommandLine() ? "1" : "0");
    ReadSettingsFile();
    Report("RequestedLanguage", RequestedLanguage);
    Report("SwitchCount", std::to_string(Switches.Count()));
    Report("RunRaw", Switches.RawValue("/RUN"));
    Report("ExePath", ModulePath(nullptr));
    Report("SettingsPath", SettingsFilePath());
    return 0;
}

int ProbeOverride() {
    Report("ExePath", ModulePath(nullptr));
    Report("ModuleLocale", GetModuleLocaleOverride());
    return 0;
}

// The main window of the loop probe: a form with no description, raising or ending the process on
// the tests' messages.
class AttenteProbeWindow : public TForm {
    ATTENTE_CLASS(AttenteProbeWindow, TForm)
  public:
    AttenteProbeWindow() : TForm(nullptr) {
        SetBounds(10, 10, 230, 64);
        CreateHandle();
    }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
        case kRaiseMessage:
            if (wParam == 0)
                throw EReadError("Ressource TFORM1 non trouv\xC3\xA9"
                                 "e");
            throw EReadError("");
        case kExitMessage:
            ExitApplication(static_cast<UINT>(wParam));
        default:
            return TForm::HandleMessage(message, wParam, lParam, result);
        }
    }
};

int ProbeLoop() {
    AtShutdown([] { Report("Shutdown", "1"); });
    TApplication application;
    Report("Title", WideToUtf8(application.Title()));
    application.SetMainForm(std::make_unique<AttenteProbeWindow>());
    const int exitCode = application.Run(StartupShowState());
    Report("LoopEnded", "1");
    Shutdown();
    return exitCode;
}

} // namespace

int main() {
    const std::string mode = Mode();
    if (mode == "settings") return ProbeSettings();
    if (mode == "override") return ProbeOverride();
    if (mode == "loop") return ProbeLoop();
    Report("UnknownMode", mode);
    return 2;
}
