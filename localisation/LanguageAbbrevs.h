// The platform's abbreviations (LOCALE_SABBREVLANGNAME) of the language table's fixed locales, for
// code that runs where no locale service exists (the module checker on the build machine). A Wine
// test holds this list against GetLocaleInfoA, so it cannot drift from the platform silently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace attente {

struct TLanguageAbbrev {
    std::uint32_t Lcid;
    const char* Abbrev;
};

// Every fixed locale of the language table that names one language, in table order. The table's
// last row, locale 0, stands for the user's default and so has no fixed abbreviation.
extern const TLanguageAbbrev kLanguageAbbrevs[];
extern const std::size_t kLanguageAbbrevCount;

// True when `abbrev` is one of the list's abbreviations, exactly (they are capitals).
bool IsTableAbbrev(const std::string& abbrev);

} // namespace attente
