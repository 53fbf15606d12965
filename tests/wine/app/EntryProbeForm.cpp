// The main-window factory of the entry probe: the real entry (app/Main.cpp) linked with this instead
// of the status window. At step 4 it reports what steps 1 to 3 left behind, then, as
// ATTENTE_PROBE asks, returns no window or creates a form that has no description anywhere, so
// that start-up fails the way a module without the status window's description makes it fail.
#include "MainForm.h"

#include "Form.h"
#include "FormResources.h"
#include "InitLangue.h"
#include "LanguageValues.h"
#include "ProbeReport.h"
#include "Lifecycle.h"
#include "ResourceSource.h"
#include "TextFormat.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace attente {

namespace {

using attente::test::Report;

class TProbeForm : public TForm {
    ATTENTE_CLASS(TProbeForm, TForm)
  public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {}
};

std::string Hex(DWORD value) {
    char text[16] = {};
    wsprintfA(text, "%04lX", value);
    return text;
}

// Runs first at shutdown, being registered last: the table must still be there.
void ReportShutdown() {
    Report("Shutdown", Langues != nullptr ? "table" : "no table");
}

} // namespace

std::unique_ptr<TForm> CreateMainForm() {
    Report("RequestedLanguage", RequestedLanguage);
    Report("AutoLanguage", AutoLanguage ? "1" : "0");
    Report("ModuleLocale", ModuleLocale);
    Report("CurrentLanguage", CurrentLanguage);
    Report("RequestedLcid", Hex(RequestedLcid));
    Report("StatusText", WideToUtf8(LoadResStringW(kStatusTextString)));
    AtShutdown(ReportShutdown);

    const char* form = std::getenv("ATTENTE_PROBE");
    if (form != nullptr && std::string(form) == "missing") CreateForm<TProbeForm>();
    return nullptr;
}

} // namespace attente
