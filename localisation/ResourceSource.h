// The resource source: the one module every resource string and window description is read from,
// chosen once at start-up and switched by LoadLanguageModule.
#pragma once

#include <windows.h>

#include "Handles.h"
#include "ResourceIds.h"

#include <string>

namespace attente {

constexpr UINT kLanguageIdString = IDS_LANGUAGE_ID;              // 65173
constexpr UINT kStatusTextString = IDS_STATUS_TEXT;              // 65174
constexpr UINT kResourceNotFoundString = IDS_RESOURCE_NOT_FOUND; // 65396 "Ressource %s non trouvée"
constexpr UINT kAncestorNotFoundString = IDS_ANCESTOR_NOT_FOUND; // 65431 "Ancêtre de '%s' non trouvé"
constexpr UINT kErrorTitleString = IDS_ERROR_TITLE;              // 65488 "Erreur d'application"
// 65519 "Exception %s dans le module %s dans %p.\r\n%s%s\r\n"
constexpr UINT kExceptionTextString = IDS_EXCEPTION_TEXT;

// The executable's module record: its instance and its current resource source.
struct TModuleRecord {
    HINSTANCE Instance = nullptr;
    HINSTANCE ResourceSource = nullptr; // null until the start-up selection has run
};

// Sets up the record for the executable (step 0 of start-up; the entry passes its own instance).
void InitModuleRecord(HINSTANCE instance);
// Forgets the record and releases an installed language module (shutdown, and between tests).
void ReleaseModuleRecord();
// The record, or null before InitModuleRecord.
TModuleRecord* ExeModuleRecord();

// Makes the start-up selection now if it has not been made yet.
void StartupSelection();

// The module to read the resources of `definingModule` from: for the executable (or null), its
// current resource source, making the start-up selection first if needed; any other module is its
// own source.
HINSTANCE FindResourceHInstance(HINSTANCE definingModule = nullptr);

// Opens the module of `lcid` beside the executable (then the language without its region, then, when
// tryEnglish, an English module, then the executable itself as data) and installs it. Returns the
// installed handle, or null when the path has no "." or the locale has no abbreviation (nothing is
// installed then).
HINSTANCE LoadLanguageModule(LCID lcid, bool tryEnglish);
// Makes `module` the resource source and releases the previous one unless it is the instance. The
// record takes over the caller's reference to `module`; when there is no record it returns null and
// the caller keeps it.
HINSTANCE InstallResourceModule(HINSTANCE module);

// A switch of resource source that may yet be undone: while it lives, the module installed before
// it stays loaded (and its file held). Undo makes that module the source again and releases the new
// one; otherwise the previous module is released at the end, unless it is still the source.
class TUndoableInstall {
  public:
    TUndoableInstall() noexcept;
    ~TUndoableInstall();
    TUndoableInstall(const TUndoableInstall&) = delete;
    TUndoableInstall& operator=(const TUndoableInstall&) = delete;
    void Undo() noexcept;

  private:
    HINSTANCE previous_;
    TModule module_;
    TFile file_;
};

// Resource strings from the resource source; missing strings read as empty, at most 1023 units.
std::wstring LoadResStringW(UINT id);
std::string LoadResStringA(UINT id);

} // namespace attente
