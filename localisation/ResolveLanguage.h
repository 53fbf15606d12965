// Decides the user-interface language once during start-up and installs its module before the first
// window exists.
#pragma once

namespace attente {

// Reads RequestedLanguage and the registry entry; sets ModuleLocale, AutoLanguage, CurrentLanguage,
// RequestedLcid (and RequestedLanguage when the choice is automatic).
void ResolveLanguage();

} // namespace attente
