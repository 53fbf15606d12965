// The settings file beside the executable (its name with ".ini"), consulted for the language when
// the command line asked for none.
#pragma once

#include <string>

namespace attente {

// UTF-8; empty when the executable's path is not known.
std::string SettingsFilePath();

// Sets RequestedLanguage to [General] Language, as written, when it is still empty and the file exists.
void ReadSettingsFile();

} // namespace attente
