// Builds the language table from the platform's locale data and answers abbreviation lookups.
#include "InitLangue.h"

#include "Exceptions.h"
#include "TextFormat.h"

#include <memory>

namespace attente {

const DWORD kLanguageLcids[kLanguageCount] = {
    0x0436, 0x041C, 0x0401, 0x042D, 0x0423, 0x0402, 0x0403, 0x0404, 0x041A, 0x0405, 0x0406, 0x0413,
    0x0813, 0x0409, 0x0809, 0x0425, 0x0438, 0x0429, 0x040B, 0x040C, 0x080C, 0x0407, 0x0408, 0x040D,
    0x040E, 0x040F, 0x0421, 0x0410, 0x0411, 0x0412, 0x0426, 0x0427, 0x0414, 0x0415, 0x0816, 0x0418,
    0x0419, 0x041A, 0x041B, 0x0424, 0x040A, 0x041D, 0x041E, 0x041F, 0x0422, 0x042A, 0x0000,
};

TLangues* Langues = nullptr;

namespace {

constexpr int kAbbrevSize = 5;
constexpr int kNameSize = 101;
constexpr int kCurrencyBufferSize = 256;

// On the heap, not a static array: each row's string points into itself, which would put 16 KB of
// otherwise empty rows into the exe's initialised data.
TLangue* gStaticRows = nullptr;

std::string CurrencyOf(DWORD lcid) {
    char buffer[kCurrencyBufferSize] = {};
    int written = GetLocaleInfoA(lcid, LOCALE_SCURRENCY, buffer, kCurrencyBufferSize);
    if (written <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(written - 1));
}

// A value that does not fit makes the call fail; the platform may still have written part of it, so
// a failed call leaves the field empty rather than holding a cut-off value.
void ReadLocaleField(LCID lcid, LCTYPE type, char* field, int size) {
    if (GetLocaleInfoA(lcid, type, field, size) <= 0) field[0] = '\0';
    field[size - 1] = '\0';
}

// Abbrev is not guaranteed to hold a terminating zero within its 5 bytes after a foreign write.
std::string AbbrevText(const TLangue& row) {
    std::size_t length = 0;
    while (length < sizeof row.Abbrev && row.Abbrev[length] != '\0')
        ++length;
    return std::string(row.Abbrev, length);
}

} // namespace

TLangues::TLangues(const TLangue* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        rows_.push_back(rows[i]);
}

const TLangue& TLangues::Row(std::size_t index) const {
    if (index >= rows_.size())
        throw EListError(Concat({"Indice de liste hors limites (", std::to_string(index), ")"}));
    return rows_[index];
}

DWORD TLangues::LcidAt(int index) const {
    if (index < 0) throw EListError(Concat({"Indice de liste hors limites (", std::to_string(index), ")"}));
    return Row(static_cast<std::size_t>(index)).Lcid;
}

int TLangues::IndexOfAbbrev(const std::string& abbrev) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::string own = AbbrevText(rows_[i]);
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, own.data(), static_cast<int>(own.size()),
                           abbrev.data(), static_cast<int>(abbrev.size())) == CSTR_EQUAL)
            return static_cast<int>(i);
    }
    return -1;
}

DWORD TLangues::LcidOfAbbrev(const std::string& abbrev) const {
    const int index = IndexOfAbbrev(abbrev);
    return index < 0 ? 0 : LcidAt(index);
}

const TLangue* StaticLanguageRows() {
    return gStaticRows;
}

void BuildLanguageTable() {
    if (gStaticRows == nullptr) gStaticRows = new TLangue[kLanguageCount];
    for (std::size_t i = 0; i < kLanguageCount; ++i) {
        TLangue& row = gStaticRows[i];
        row = TLangue{};
        row.Lcid = kLanguageLcids[i];
        ReadLocaleField(row.Lcid, LOCALE_SABBREVLANGNAME, row.Abbrev, kAbbrevSize);
        ReadLocaleField(row.Lcid, LOCALE_SLANGUAGE, row.Name, kNameSize);
        ReadLocaleField(row.Lcid, LOCALE_SENGLANGUAGE, row.EnglishName, kNameSize);
        ReadLocaleField(row.Lcid, LOCALE_SNATIVELANGNAME, row.NativeName, kNameSize);
        row.CurrencySymbol = CurrencyOf(row.Lcid);
    }
    delete Langues;
    Langues = new TLangues(gStaticRows, kLanguageCount);
}

void ReleaseLanguageTable() {
    std::unique_ptr<TLangues> table(Langues);
    Langues = nullptr;
    table.reset();
    if (gStaticRows == nullptr) return;
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        gStaticRows[i].CurrencySymbol = std::string();
}

} // namespace attente
