// Language resolution through the real start-up order on a French (France) system, with the German
// and English modules beside setup.exe as each case needs.
#include "EntryCase.h"
#include "LocaleEntries.h"
#include "ProbeFolder.h"
#include "RegistryLock.h"

#include <gtest/gtest.h>

#include <regex>

using namespace attente::test;

namespace {

const std::string kEnuSettings = "[General]\r\nLanguage=enu\r\n";
const std::string kFraSettings = "[General]\r\nLanguage=fra\r\n";
const std::string kXyzSettings = "[General]\r\nLanguage=XYZ\r\n";
const std::string kAutoSettings = "[General]\r\nLanguage=auto\r\n";

const TEntryCase kCases[] = {
    // The typical run: /L=DEU on a French system.
    {"switch_to_german", "/L=DEU", "", {"DEU"}, {}, {}, {"DEU", false, "", "DEU", "0407", kGermanStatus}},
    {"lower_case_switch", "/l=deu", "", {"DEU"}, {}, {}, {"DEU", false, "", "DEU", "0407", kGermanStatus}},
    {"nothing_asked_keeps_french",
     "",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"FRA", true, "", "FRA", "0000", kFrenchStatus}},
    {"empty_switch_reads_the_settings_file",
     "/L=",
     kEnuSettings,
     {"ENU"},
     {},
     {},
     {"enu", false, "", "ENU", "0409", kEnglishStatus}},
    {"switch_without_value_is_automatic",
     "/L",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"FRA", true, "", "FRA", "0000", kFrenchStatus}},
    {"first_of_two_switches",
     "/L=ENU /L=DEU",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"ENU", false, "", "ENU", "0409", kEnglishStatus}},
    {"settings_enu_kept_in_lower_case",
     "",
     kEnuSettings,
     {"ENU"},
     {},
     {},
     {"enu", false, "", "ENU", "0409", kEnglishStatus}},
    // "fra" is not "FRA" byte for byte: a switch to 0x040C, which finds only the English module.
    {"settings_fra_forces_a_switch_to_english",
     "",
     kFraSettings,
     {"ENU"},
     {},
     {},
     {"fra", false, "", "ENU", "040C", kEnglishStatus}},
    {"settings_fra_without_modules_stays_french",
     "",
     kFraSettings,
     {},
     {},
     {},
     {"fra", false, "", "FRA", "040C", kFrenchStatus}},
    {"unknown_language_falls_to_the_system_default",
     "",
     kXyzSettings,
     {"DEU", "ENU"},
     {},
     {},
     {"XYZ", false, "", "ENU", "0000", kEnglishStatus}},
    {"auto_switch", "/L=AUTO", "", {"DEU"}, {}, {}, {"FRA", true, "", "FRA", "0000", kFrenchStatus}},
    {"auto_in_the_settings_file_any_case",
     "",
     kAutoSettings,
     {"DEU"},
     {},
     {},
     {"FRA", true, "", "FRA", "0000", kFrenchStatus}},
    {"regional_variant_needs_no_switch",
     "/L=FRB",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"FRB", false, "", "FRA", "0000", kFrenchStatus}},
    {"english_fallback_for_a_missing_module",
     "/L=ENG",
     "",
     {"ENU"},
     {},
     {},
     {"ENG", false, "", "ENU", "0809", kEnglishStatus}},
    {"very_long_request",
     "/L=" + std::string(5000, 'q'),
     "",
     {"DEU"},
     {},
     {},
     {std::string(5000, 'Q'), false, "", "FRA", "0000", kFrenchStatus}},
    // Registry entries: the start-up selection installs the entry's module, resolution stops.
    {"user_entry_stops_resolution",
     "",
     "",
     {"DEU", "ENU"},
     "ENU",
     {},
     {"", false, "ENU", "ENU", "0000", kEnglishStatus}},
    {"switch_overrides_the_user_entry",
     "/L=DEU",
     "",
     {"DEU", "ENU"},
     "ENU",
     {},
     {"DEU", false, "ENU", "DEU", "0407", kGermanStatus}},
    {"over_long_user_entry_taken_whole_selection_ignores_it",
     "",
     "",
     {"ENU"},
     "ENUXX",
     {},
     {"", false, "ENUXX", "FRA", "0000", kFrenchStatus}},
    {"lower_case_user_entry_in_capitals",
     "",
     "",
     {"ENU"},
     "enu",
     {},
     {"", false, "ENU", "ENU", "0000", kEnglishStatus}},
};

class ResolveInFrance : public testing::TestWithParam<TEntryCase> {};

TEST_P(ResolveInFrance, EndsWithTheExpectedLanguage) {
    RunEntryCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Startup, ResolveInFrance, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TEntryCase>& info) {
                             return std::string(info.param.Name);
                         });

TProbeResult RunEntry(const TProbeFolder& folder, const std::string& arguments = "") {
    TProbeResult result = folder.Run("none", arguments);
    EXPECT_EQ(result.ExitCode, 0u) << result.Raw;
    return result;
}

} // namespace

TEST(ResolveInFranceSetup, RunsUnderAFrenchSystemLocale) {
    EXPECT_EQ(SystemDefaultAbbrev(), "FRA");
}

TEST(ResolveInFranceRegistry, MachineEntryWithoutUserKeyIsInstalledAndCopied) {
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    folder.CopyModule("ENU");
    const TLocaleEntries entries(folder.ExePath());
    DeleteLocalesKey(HKEY_CURRENT_USER);
    entries.SetText(HKEY_LOCAL_MACHINE, "ENU");

    const TProbeResult result = RunEntry(folder);
    EXPECT_EQ(result.Values.at("ModuleLocale"), "ENU");
    EXPECT_EQ(result.Values.at("CurrentLanguage"), "ENU");
    EXPECT_EQ(result.Values.at("RequestedLanguage"), "");
    EXPECT_EQ(entries.Read(HKEY_CURRENT_USER).Data, SzData("ENU"));
}

TEST(ResolveInFranceRegistry, MachineEntryBesideAnEmptyUserKeyTakesEffectFromTheNextRun) {
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    folder.CopyModule("ENU");
    const TLocaleEntries entries(folder.ExePath());
    // The per-user key exists, without this value and without a default value.
    const TLocaleEntries other(folder.File("other.exe"));
    other.SetText(HKEY_CURRENT_USER, "DEU");
    RemoveLocalesDefaultValue(HKEY_CURRENT_USER);
    entries.SetText(HKEY_LOCAL_MACHINE, "enu");

    const TProbeResult first = RunEntry(folder);
    EXPECT_EQ(first.Values.at("ModuleLocale"), "ENU");
    EXPECT_EQ(first.Values.at("CurrentLanguage"), "FRA");
    EXPECT_EQ(first.Values.at("StatusText"), kFrenchStatus);
    EXPECT_EQ(entries.Read(HKEY_CURRENT_USER).Data, SzData("enu"));

    const TProbeResult second = RunEntry(folder);
    EXPECT_EQ(second.Values.at("CurrentLanguage"), "ENU");
    EXPECT_EQ(second.Values.at("StatusText"), kEnglishStatus);
}

TEST(ResolveInFranceRegistry, BinaryUserEntryIsIgnoredAndKept) {
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    folder.CopyModule("ENU");
    const TLocaleEntries entries(folder.ExePath());
    entries.Set(HKEY_CURRENT_USER, REG_BINARY, "ENU");
    entries.SetText(HKEY_LOCAL_MACHINE, "ENU");

    const TProbeResult result = RunEntry(folder);
    EXPECT_EQ(result.Values.at("ModuleLocale"), "");
    EXPECT_EQ(result.Values.at("AutoLanguage"), "1");
    EXPECT_EQ(result.Values.at("CurrentLanguage"), "FRA");
    const TRawValue user = entries.Read(HKEY_CURRENT_USER);
    EXPECT_EQ(user.Type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(user.Data, "ENU");
}

TEST(ResolveInFranceModules, ModuleThatNamesItsLanguageOnly) {
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    folder.CopySparseModule();
    const TProbeResult result = RunEntry(folder, "/L=ITA");
    EXPECT_EQ(result.Values.at("CurrentLanguage"), "ITA");
    EXPECT_EQ(result.Values.at("RequestedLcid"), "0410");
    EXPECT_EQ(result.Values.at("StatusText"), "");
}
