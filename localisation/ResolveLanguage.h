// Decides the user-interface language once during start-up and installs its module before the first
// window exists.
#pragma once

#include <string>

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

// Whether a switch to `request` (as /L= takes it) finds the language's own module beside the exe, its
// three- or two-letter one, sound: otherwise the chain would end at a fallback (English, the built-in
// texts), or at the system's language for a request the table does not know. For a start that
// relays a switch, which asks before anything is sent.
bool RequestHasOwnModule(const std::string& request);

} // namespace attente
