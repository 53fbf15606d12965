// The language table: 47 fixed locale identifiers with the platform's names for them, built at start-up.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace attente {

struct TLangue {
    DWORD Lcid = 0;
    char Abbrev[5] = {};
    char Name[101] = {};
    char EnglishName[101] = {};
    char NativeName[101] = {};
    std::string CurrencySymbol;
};

constexpr std::size_t kLanguageCount = 47;

class TLangues {
  public:
    explicit TLangues(const TLangue* rows, std::size_t count);

    std::size_t Count() const { return rows_.size(); }
    const TLangue& Row(std::size_t index) const;
    // Raises EListError for an index outside the table instead of reading past it.
    DWORD LcidAt(int index) const;
    int IndexOfAbbrev(const std::string& abbrev) const;
    DWORD LcidOfAbbrev(const std::string& abbrev) const;

  private:
    std::vector<TLangue> rows_;
};

// The fixed identifiers, in table order (row 1 first).
extern const DWORD kLanguageLcids[kLanguageCount];

// The process-wide table; null before BuildLanguageTable and after ReleaseLanguageTable.
extern TLangues* Langues;

// The static rows (index 0 is row 1), filled by BuildLanguageTable; null before its first call.
const TLangue* StaticLanguageRows();

void BuildLanguageTable();
void ReleaseLanguageTable();

} // namespace attente
