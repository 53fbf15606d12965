// Language resolution on a French (Belgium) system: a regional variant of the built-in language.
#include "EntryCase.h"

#include <gtest/gtest.h>

using namespace attente::test;

namespace {

const TEntryCase kCases[] = {
    // FRB differs from the built-in FRA only after the first two letters: no switch, although an
    // English module is there to be found.
    {"regional_variant_of_the_built_in_language",
     "",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"FRB", true, "", "FRA", "0000", kFrenchStatus}},
    {"explicit_request_still_switches",
     "/L=DEU",
     "",
     {"DEU", "ENU"},
     {},
     {},
     {"DEU", false, "", "DEU", "0407", kGermanStatus}},
};

class ResolveInBelgium : public testing::TestWithParam<TEntryCase> {};

TEST_P(ResolveInBelgium, EndsWithTheExpectedLanguage) {
    RunEntryCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Startup, ResolveInBelgium, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TEntryCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace

TEST(ResolveInBelgiumSetup, RunsUnderABelgianFrenchSystemLocale) {
    EXPECT_EQ(GetSystemDefaultLCID(), 0x080Cu);
    EXPECT_EQ(SystemDefaultAbbrev(), "FRB");
}
