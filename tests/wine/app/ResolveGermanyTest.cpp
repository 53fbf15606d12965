// Language resolution on a German (Germany) system: the cases whose outcome the system default
// locale decides.
#include "EntryCase.h"

#include <gtest/gtest.h>

using namespace attente::test;

namespace {

const TEntryCase kCases[] = {
    // The per-user entry installs English at start-up; XYZ is in no table row, so the switch goes to
    // the system default locale's module, German.
    {"unknown_switch_falls_to_the_system_default",
     "/L=XYZ",
     "",
     {"DEU", "ENU"},
     "ENU",
     {},
     {"XYZ", false, "ENU", "DEU", "0000", kGermanStatus}},
    {"unknown_settings_value_falls_to_the_system_default",
     "",
     "[General]\r\nLanguage=XYZ\r\n",
     {"DEU", "ENU"},
     "ENU",
     {},
     {"XYZ", false, "ENU", "DEU", "0000", kGermanStatus}},
    {"start_up_selection_already_speaks_german",
     "",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"DEU", true, "", "DEU", "0000", kGermanStatus}},
    // The start-up selection has no English fallback; the automatic switch has.
    {"automatic_switch_finds_english",
     "",
     "",
     {"ENU"},
     {},
     {},
     {"DEU", true, "", "ENU", "0000", kEnglishStatus}},
    {"french_asked_on_a_german_system",
     "/L=FRA",
     "",
     {"DEU"},
     {},
     {},
     {"FRA", false, "", "FRA", "040C", kFrenchStatus}},
};

class ResolveInGermany : public testing::TestWithParam<TEntryCase> {};

TEST_P(ResolveInGermany, EndsWithTheExpectedLanguage) {
    RunEntryCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Startup, ResolveInGermany, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TEntryCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace

TEST(ResolveInGermanySetup, RunsUnderAGermanSystemLocale) {
    EXPECT_EQ(SystemDefaultAbbrev(), "DEU");
}
