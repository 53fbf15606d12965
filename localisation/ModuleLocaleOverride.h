// The per-executable language entry in the registry: the per-user one, else the per-machine one,
// which is then copied to the user so that later runs find it there.
#pragma once

#include <string>

namespace attente {

// Registry key of the entries; the value is named by the executable's full path.
constexpr char kLocalesKey[] = "SOFTWARE\\Attente\\Locales";

// The entry's text in capitals (a to z only), or empty. Never raises.
std::string GetModuleLocaleOverride();

} // namespace attente
