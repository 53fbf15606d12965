// Switch lookups: first "=" splits, first match wins, names ignore case, values are upper-cased.
#include "SwitchArguments.h"
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

TEST(SwitchList, FlagsAndRepeatedItems) {
    const TSwitchList list({"/close", "/CLOSE=1", "/STATUS=a", "/x", "/status=B c", "/STATUS="});
    EXPECT_TRUE(list.HasFlag("/CLOSE"));
    EXPECT_FALSE(list.HasFlag("/STATUS")); // only items without "=" are flags
    EXPECT_FALSE(list.HasFlag("/X=")) << "a flag is a whole item";
    EXPECT_EQ(list.RawValues("/STATUS"), (Args{"a", "B c", ""}));
    EXPECT_EQ(list.RawValues("/RUN"), Args{});
}

// Everything after /RUN= is the command as written; nothing after it is a switch of ours.
TEST(SwitchArguments, RunTakesTheRestOfTheLine) {
    struct Case {
        const char* what;
        const char* raw;
        Args switches;
    };
    const Case cases[] = {
        {"no arguments", "setup.exe", {}},
        {"switches without /RUN=", "setup.exe /L=DEU \"/STATUS=a b\"", {"/L=DEU", "/STATUS=a b"}},
        {"quoted program path and argument",
         "s /L=DEU /RUN=\"C:\\my job\\a.exe\" \"six a\" b",
         {"/L=DEU", "/RUN=\"C:\\my job\\a.exe\" \"six a\" b"}},
        {"whole switch quoted, quotes inside",
         "s \"/RUN=cmd.exe /c \"C:\\my job\\j.cmd\" two\"",
         {"/RUN=cmd.exe /c \"C:\\my job\\j.cmd\" two"}},
        {"whole switch quoted, no quotes inside",
         "s \"/RUN=msiexec /i p.msi /qn\"  ",
         {"/RUN=msiexec /i p.msi /qn"}},
        {"our switches after it are the command's",
         "s /run=job.exe /L=DEU /CLOSE",
         {"/run=job.exe /L=DEU /CLOSE"}},
        {"a quote that closes the command's own argument stays", "s /RUN=job \"a b\"", {"/RUN=job \"a b\""}},
        {"empty command", "s \"/RUN=\"", {"/RUN="}},
        {"longer name is not /RUN", "s /RUNNER=a b", {"/RUNNER=a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SwitchArguments(c.raw, NoLeadBytes, EqualsIgnoringAsciiCase), c.switches);
    }
}
