// The per-executable language override that the start-up selection reads from the registry.
#pragma once

#include <string>

namespace attente {

constexpr const char* kLocalesKey = "Software\\Attente\\Locales";

// The override for the executable at `exePath` (as reported; its long form names the value): from
// the first of the per-user and per-machine "Locales" keys that opens, the value named by the path,
// else the key's default value. At most 4 characters; empty when there is none.
std::string ReadStartupOverride(const std::string& exePath);

} // namespace attente
