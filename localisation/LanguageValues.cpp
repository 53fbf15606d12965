// Storage of the process-wide language values.
#include "LanguageValues.h"

namespace attente {

std::string RequestedLanguage;
bool AutoLanguage = false;
std::string ModuleLocale;
std::string CurrentLanguage;
DWORD RequestedLcid = 0;

void ClearLanguageValues() {
    RequestedLanguage = std::string();
    AutoLanguage = false;
    ModuleLocale = std::string();
    CurrentLanguage = std::string();
    RequestedLcid = 0;
}

} // namespace attente
