// The string tables of the built exe and of every built language module, read back through the
// platform's own string loader.
#include "DistModules.h"
#include "InitLangue.h"
#include "ModuleFixture.h"
#include "ResourceSource.h"

#include "Handles.h"
#include "ModuleFiles.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <set>

using namespace attente;
using namespace attente::test;

namespace {

constexpr int kStringBufferSize = 1024;

std::wstring ReadString(HMODULE module, UINT id) {
    wchar_t buffer[kStringBufferSize] = {};
    const int length = LoadStringW(module, id, buffer, kStringBufferSize);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TModule OpenData(const std::string& path) {
    return TModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// The placeholders of a template in order; every other "%" shows as itself.
std::wstring Placeholders(const std::wstring& text) {
    std::wstring found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'%') found += text.substr(i, 2), ++i;
    return found;
}

std::vector<std::string> BuiltModules() {
    return DistModuleNames(DistPath("attente.*"));
}

constexpr std::size_t kShortNameLength = 2;
constexpr int kAbbrevBufferSize = 5;

// The table of the language abbreviations, for the tests that name modules by them.
class TLanguageTableScope {
  public:
    TLanguageTableScope() { BuildLanguageTable(); }
    ~TLanguageTableScope() { ReleaseLanguageTable(); }
    TLanguageTableScope(const TLanguageTableScope&) = delete;
    TLanguageTableScope& operator=(const TLanguageTableScope&) = delete;
};

std::string Extension(const std::string& name) {
    return name.substr(name.find('.') + 1);
}

constexpr UINT kStringsPerBlock = 16;

BOOL CALLBACK KeepLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// The language the module's string table is written in (its LANGUAGE statement).
WORD StringTableLanguage(HMODULE module) {
    WORD language = 0;
    EnumResourceLanguagesA(module, RT_STRING, MAKEINTRESOURCEA(kStatusTextString / kStringsPerBlock + 1),
                           KeepLanguage, reinterpret_cast<LONG_PTR>(&language));
    return language;
}

std::string AbbreviationOf(WORD language) {
    char abbrev[kAbbrevBufferSize] = {};
    GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), LOCALE_SABBREVLANGNAME, abbrev, kAbbrevBufferSize);
    return abbrev;
}

} // namespace

TEST(StringTables, ExeHoldsTheFrenchTextsExactly) {
    TModule exe = OpenData(DistPath("attente.exe"));
    ASSERT_TRUE(exe);
    EXPECT_EQ(ReadString(exe.Get(), 65173), L"FRA");
    EXPECT_EQ(ReadString(exe.Get(), 65174),
              L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...");
    EXPECT_EQ(ReadString(exe.Get(), 65396), L"Ressource %s non trouv\u00e9e");
    EXPECT_EQ(ReadString(exe.Get(), 65431), L"Anc\u00eatre de '%s' non trouv\u00e9");
    EXPECT_EQ(ReadString(exe.Get(), 65488), L"Erreur d'application");
    EXPECT_EQ(ReadString(exe.Get(), 65519), L"Exception %s dans le module %s dans %p.\r\n%s%s\r\n");
}

TEST(StringTables, EveryModuleHoldsAllSixTextsWithItsOwnAbbreviation) {
    TModule exe = OpenData(DistPath("attente.exe"));
    ASSERT_TRUE(exe);
    const std::vector<std::string> modules = BuiltModules();
    const std::set<std::string> names(modules.begin(), modules.end());
    EXPECT_TRUE(names.count("attente.ENU"));
    EXPECT_TRUE(names.count("attente.DE"));
    for (const std::string& name : modules) {
        SCOPED_TRACE(name);
        TDataModule module = OpenModuleAsData(DistPath(name));
        ASSERT_TRUE(module) << "not a sound module";
        // A module named by the first two letters serves every variant; its own abbreviation is the
        // variant whose texts it holds.
        const std::string extension = Extension(name);
        const std::string own = WideToUtf8(ReadString(module.Module.Get(), kLanguageIdString));
        if (extension.size() == kShortNameLength)
            EXPECT_EQ(own.substr(0, kShortNameLength), extension);
        else
            EXPECT_EQ(own, extension);
        EXPECT_EQ(own, AbbreviationOf(StringTableLanguage(module.Module.Get())))
            << "written in another language";
        for (UINT id : kModuleStrings) {
            SCOPED_TRACE(id);
            const std::wstring text = ReadString(module.Module.Get(), id);
            EXPECT_FALSE(text.empty());
            // Our formatter fills placeholders in order: a translation must keep the French ones.
            EXPECT_EQ(Placeholders(text), Placeholders(ReadString(exe.Get(), id)));
            EXPECT_NE(text, ReadString(exe.Get(), id)) << "left untranslated";
        }
        // The status text keeps its blank line between the two sentences.
        EXPECT_NE(ReadString(module.Module.Get(), kStatusTextString).find(L"\r\n\r\n"), std::wstring::npos);
    }
}

TEST(StringTables, EveryLanguageOfTheTableReachesAModuleOfItsOwn) {
    const std::vector<std::string> modules = BuiltModules();
    const std::set<std::string> names(modules.begin(), modules.end());
    TLanguageTableScope table;
    for (std::size_t i = 0; i < Langues->Count(); ++i) {
        const TLangue& row = Langues->Row(i);
        const std::string abbrev = row.Abbrev;
        // French is built in; the neutral row stands for the user's own language.
        if (row.Lcid == 0 || PRIMARYLANGID(LANGIDFROMLCID(row.Lcid)) == LANG_FRENCH) continue;
        SCOPED_TRACE(abbrev);
        const std::string full = "attente." + abbrev;
        const std::string shortName = "attente." + abbrev.substr(0, kShortNameLength);
        const std::string found = names.count(full) ? full : shortName;
        ASSERT_TRUE(names.count(found)) << "no module";
        TDataModule module = OpenModuleAsData(DistPath(found));
        ASSERT_TRUE(module);
        EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(
                      Langues->LcidOfAbbrev(WideToUtf8(ReadString(module.Module.Get(), kLanguageIdString))))),
                  PRIMARYLANGID(LANGIDFROMLCID(row.Lcid)))
            << found << " holds another language";
    }
    // Chinese is written in two scripts: a module named by the first two letters would serve one
    // script's texts to readers of the other.
    EXPECT_FALSE(names.count("attente.CH"));
    EXPECT_TRUE(names.count("attente.CHS"));
    EXPECT_TRUE(names.count("attente.CHT"));
}
