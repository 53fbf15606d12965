// Decides the user-interface language once during start-up and installs its module before the first
// window exists.
#pragma once

namespace attente {

// Reads RequestedLanguage and the registry entry; sets ModuleLocale, AutoLanguage, CurrentLanguage,
// RequestedLcid (and RequestedLanguage when the choice is automatic).
void ResolveLanguage();

// The decision for RequestedLanguage alone, without the registry entry: the automatic choice, the
// comparison with CurrentLanguage, the switch of module and the reload of every open form. All or
// nothing: when the module the chain ends at cannot be read into every open form, the previous module
// stays installed, RequestedLanguage, AutoLanguage, RequestedLcid and CurrentLanguage keep their
// values, nothing shown changes, and the result is false.
bool SwitchToRequestedLanguage();

} // namespace attente
