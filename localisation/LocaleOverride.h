// The per-executable language override that the start-up selection reads from the registry.
#pragma once

#include <string>

namespace attente {

constexpr const char* kLocalesKey = "Software\\Attente\\Locales";

// The override for the executable at `exePath` (UTF-8, as reported): from the first of the per-user
// and per-machine "Locales" keys that opens (with 0xF0019, else read-only), the text value named by
// the path's long form, else by the path as reported; when neither is there or both are longer than
// 4 characters, the key's default value; none when a named value is not text. At most 4 characters;
// empty when none.
std::string ReadStartupOverride(const std::string& exePath);

} // namespace attente
