// Switch lookups: first "=" splits, first match wins, names ignore case, values are upper-cased.
#include "SwitchList.h"

#include <gtest/gtest.h>

using namespace attente;
using Args = std::vector<std::string>;

TEST(SwitchList, LooksUpValuesByName) {
    struct Case {
        const char* what;
        Args switches;
        const char* name;
        const char* value;
        const char* raw;
    };
    const Case cases[] = {
        {"lower case switch", {"/l=deu"}, "/L", "DEU", "deu"},
        {"name case ignored", {"/L=DEU"}, "/l", "DEU", "DEU"},
        {"empty value", {"/L="}, "/L", "", ""},
        {"no equals sign is no switch", {"/L"}, "/L", "", ""},
        {"no equals sign, then a switch", {"/L", "/L=ENU"}, "/L", "ENU", "ENU"},
        {"first match wins", {"/L=ENU", "/L=DEU"}, "/L", "ENU", "ENU"},
        {"first equals sign splits", {"/L=a=b"}, "/L", "A=B", "a=b"},
        {"longer name does not match", {"/LANG=DEU"}, "/L", "", ""},
        {"name with a space does not match", {"/L =DEU"}, "/L", "", ""},
        {"missing name", {"/X=1", "/Y=2"}, "/L", "", ""},
        {"empty name", {"=DEU", "/L=ENU"}, "", "DEU", "DEU"},
        {"only a to z change", {"/l=d\xe9u"}, "/L", "D\xe9U", "d\xe9u"},
        {"raw value keeps its case",
         {"/run=C:\\Setup\\Go.exe"},
         "/RUN",
         "C:\\SETUP\\GO.EXE",
         "C:\\Setup\\Go.exe"},
        {"no switches", {}, "/L", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TSwitchList list(c.switches);
        EXPECT_EQ(list.Value(c.name), c.value);
        EXPECT_EQ(list.RawValue(c.name), c.raw);
    }
}

TEST(SwitchList, KeepsRawAndUpperCasedItemsInOrder) {
    const TSwitchList list({"/l=deu", "plain", "/Run=x"});
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Item(0), "/L=DEU");
    EXPECT_EQ(list.Raw(0), "/l=deu");
    EXPECT_EQ(list.Item(1), "PLAIN");
    EXPECT_EQ(list.Raw(2), "/Run=x");
}

TEST(SwitchList, UsesTheGivenNameComparison) {
    const auto exact = [](std::string_view a, std::string_view b) { return a == b; };
    const TSwitchList list({"/L=DEU"}, exact);
    EXPECT_EQ(list.Value("/L"), "DEU");
    EXPECT_EQ(list.Value("/l"), "");
}

TEST(SwitchList, ClearForgetsEverything) {
    TSwitchList list({"/L=DEU"});
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Value("/L"), "");
}

TEST(SwitchList, DefaultListHasNoValues) {
    EXPECT_EQ(TSwitchList().Value("/L"), "");
}
