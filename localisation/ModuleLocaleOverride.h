// The per-executable language entry in the registry: the per-user one, else the per-machine one,
// which is then copied to the user so that later runs find it there.
#pragma once

#include <string>

namespace attente {

// The entry's text in capitals (a to z only), or empty, for the running executable or the one at
// `exePath` (UTF-8, as the platform reports it). Never raises.
std::string GetModuleLocaleOverride(const std::string* exePath = nullptr);

} // namespace attente
