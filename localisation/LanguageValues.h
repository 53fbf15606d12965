// The process-wide language values shared by the settings step, language resolution and the status
// window; set during start-up, read afterwards, cleared at shutdown.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

extern std::string
    RequestedLanguage;              // the abbreviation asked for (command line, settings file, or automatic)
extern bool AutoLanguage;           // the request was empty or AUTO
extern std::string ModuleLocale;    // the per-executable registry entry, in capitals
extern std::string CurrentLanguage; // what the resources in use say they are in
extern DWORD RequestedLcid;         // RequestedLanguage looked up in the language table

void ClearLanguageValues();

} // namespace attente
