// Language resolution: registry entry, then the request, then the system default locale; a switch is
// made only when the resources in use do not already speak the language or a regional variant of it.
#include "ResolveLanguage.h"

#include "Diagnostics.h"
#include "FormResources.h"
#include "InitLangue.h"
#include "LanguageValues.h"
#include "ModuleFiles.h"
#include "ModuleLocaleOverride.h"
#include "ResourceSource.h"

#include <windows.h>

namespace attente {

namespace {

constexpr char kAutoRequest[] = "AUTO";
constexpr std::size_t kLanguagePartLength = 2;
constexpr bool kTryEnglish = true;

bool IsAutoRequest(const std::string& request) {
    return request.empty() || CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, request.data(),
                                             static_cast<int>(request.size()), kAutoRequest,
                                             static_cast<int>(sizeof kAutoRequest - 1)) == CSTR_EQUAL;
}

// Byte for byte: "fra" asks for a switch away from "FRA" resources.
bool SpeaksRequestedLanguage(const std::string& current, const std::string& requested) {
    return current == requested ||
           current.substr(0, kLanguagePartLength) == requested.substr(0, kLanguagePartLength);
}

DWORD TableLcidOf(const std::string& abbrev) {
    return Langues != nullptr ? Langues->LcidOfAbbrev(abbrev) : 0;
}

} // namespace

void ResolveLanguage() {
    ModuleLocale = GetModuleLocaleOverride();
    CurrentLanguage = LoadResStringA(kLanguageIdString);
    // The entry already chose the module at start-up; only an explicit request overrides it.
    if (!ModuleLocale.empty() && RequestedLanguage.empty()) {
        Diagnostics.Decision(TResolveDecision::RegistryKept);
        return;
    }
    SwitchToRequestedLanguage();
}

bool SwitchToRequestedLanguage() {
    const std::string request = RequestedLanguage;
    const bool wasAuto = AutoLanguage;
    const DWORD requestedLcid = RequestedLcid;
    AutoLanguage = IsAutoRequest(RequestedLanguage);
    if (AutoLanguage) RequestedLanguage = LocaleAbbrev(GetSystemDefaultLCID());
    if (SpeaksRequestedLanguage(CurrentLanguage, RequestedLanguage)) {
        Diagnostics.Decision(TResolveDecision::AlreadySpoken);
        return true;
    }

    LCID lcid = GetSystemDefaultLCID();
    if (!AutoLanguage) {
        RequestedLcid = TableLcidOf(RequestedLanguage);
        if (RequestedLcid != 0) lcid = RequestedLcid;
    }
    Diagnostics.Decision(TResolveDecision::Loaded, lcid);
    // Open windows are checked against the new module before anything they show changes.
    TUndoableInstall install;
    LoadLanguageModule(lcid, kTryEnglish);
    if (!ReloadAllFormsWouldSucceed()) {
        install.Undo();
        RequestedLanguage = request;
        AutoLanguage = wasAuto;
        RequestedLcid = requestedLcid;
        return false;
    }
    CurrentLanguage = LoadResStringA(kLanguageIdString);
    ReloadAllForms();
    return true;
}

bool RequestHasOwnModule(const std::string& request) {
    LCID lcid = GetSystemDefaultLCID();
    if (!IsAutoRequest(request)) {
        // A relaying start has no table of its own: built for the question, then released.
        const bool built = Langues == nullptr;
        if (built) BuildLanguageTable();
        lcid = TableLcidOf(request);
        if (built) ReleaseLanguageTable();
        if (lcid == 0) return false;
    }
    const std::string path = ModulePath(nullptr);
    const std::string abbrev = LocaleAbbrev(lcid);
    if (path.empty() || abbrev.empty()) return false;
    // Abbreviations are ASCII: no conversion needed for the candidate's name.
    const std::optional<std::string> own = ModuleCandidate(path, abbrev);
    const std::optional<std::string> language = ModuleCandidate(path, TwoLetterForm(abbrev));
    return (own && OpenModuleAsData(*own)) || (language && OpenModuleAsData(*language));
}

} // namespace attente
