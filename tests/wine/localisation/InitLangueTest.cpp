// The language table against Wine's real locale data, under a French user locale.
#include "Exceptions.h"
#include "InitLangue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

using namespace attente;

namespace {

class LanguageTable : public ::testing::Test {
protected:
    void SetUp() override { BuildLanguageTable(); }
    void TearDown() override { ReleaseLanguageTable(); }
};

int FirstIndexWithAbbrev(const char* abbrev) {
    for (std::size_t i = 0; i < Langues->Count(); ++i)
        if (_stricmp(Langues->Row(i).Abbrev, abbrev) == 0) return static_cast<int>(i);
    return -1;
}

} // namespace

TEST_F(LanguageTable, HoldsTheFixedIdentifiersInTableOrder) {
    ASSERT_NE(Langues, nullptr);
    ASSERT_EQ(Langues->Count(), 47u);
    EXPECT_EQ(Langues->LcidAt(0), 0x0436u);  // row 1, Afrikaans
    EXPECT_EQ(Langues->LcidAt(19), 0x040Cu); // row 20, French
    EXPECT_EQ(Langues->LcidAt(37), 0x041Au); // row 38 repeats Croatian
    EXPECT_EQ(Langues->LcidAt(46), 0x0000u); // row 47, neutral
    for (std::size_t i = 0; i < kLanguageCount; ++i) EXPECT_EQ(Langues->LcidAt(static_cast<int>(i)), kLanguageLcids[i]);
}

TEST_F(LanguageTable, EveryRowHasItsThreeLetterAbbreviationAndSaneTexts) {
    for (std::size_t i = 0; i < Langues->Count(); ++i) {
        const TLangue& row = Langues->Row(i);
        SCOPED_TRACE(testing::Message() << "row " << i + 1 << " lcid 0x" << std::hex << row.Lcid);
        ASSERT_EQ(std::strlen(row.Abbrev), 3u);
        for (int c = 0; c < 3; ++c) EXPECT_TRUE(std::isupper(static_cast<unsigned char>(row.Abbrev[c])));
        EXPECT_LT(std::strlen(row.Name), sizeof row.Name);
        EXPECT_GT(std::strlen(row.EnglishName), 0u);
        EXPECT_LT(std::strlen(row.NativeName), sizeof row.NativeName);
        // Filled or empty, never cut-off garbage: no embedded zero, within the 255-character limit.
        EXPECT_EQ(row.CurrencySymbol.find('\0'), std::string::npos);
        EXPECT_LE(row.CurrencySymbol.size(), 255u);
    }
    EXPECT_STREQ(Langues->Row(19).Abbrev, "FRA");
    EXPECT_STREQ(Langues->Row(21).Abbrev, "DEU");
    EXPECT_STREQ(Langues->Row(13).Abbrev, "ENU");
    EXPECT_STREQ(Langues->Row(14).Abbrev, "ENG");
    EXPECT_EQ(Langues->Row(19).CurrencySymbol, "\x80"); // the euro sign in the French ANSI code page
}

TEST_F(LanguageTable, LooksUpAbbreviationsIgnoringCase) {
    struct Case {
        const char* abbrev;
        int index;
        DWORD lcid;
    };
    const Case cases[] = {
        {"FRA", 19, 0x040C}, {"fra", 19, 0x040C}, {"FrA", 19, 0x040C}, {"ENU", 13, 0x0409},
        {"enu", 13, 0x0409}, {"DEU", 21, 0x0407}, {"XYZ", -1, 0},      {"FR", -1, 0},
        {"FRAN", -1, 0},     {"", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.abbrev);
        EXPECT_EQ(Langues->IndexOfAbbrev(c.abbrev), c.index);
        EXPECT_EQ(Langues->LcidOfAbbrev(c.abbrev), c.lcid);
    }
}

TEST_F(LanguageTable, DuplicatedCroatianRowAlwaysResolvesToTheFirst) {
    const std::string croatian = Langues->Row(37).Abbrev;
    EXPECT_EQ(croatian, Langues->Row(8).Abbrev);
    EXPECT_EQ(Langues->IndexOfAbbrev(croatian), 8);
    EXPECT_EQ(Langues->LcidOfAbbrev(croatian), 0x041Au);
}

TEST_F(LanguageTable, NeutralRowIsFilledAndLooksUpTheFirstRowWithItsAbbreviation) {
    const TLangue& neutral = Langues->Row(46);
    ASSERT_GT(std::strlen(neutral.Abbrev), 0u);
    const int first = FirstIndexWithAbbrev(neutral.Abbrev);
    EXPECT_EQ(Langues->IndexOfAbbrev(neutral.Abbrev), first);
    EXPECT_LE(first, 46);
}

TEST_F(LanguageTable, IndexOutsideTheTableRaisesInsteadOfReading) {
    EXPECT_THROW(Langues->LcidAt(-1), EListError);
    EXPECT_THROW(Langues->LcidAt(47), EListError);
    EXPECT_THROW(Langues->LcidAt(1 << 30), EListError);
}

TEST(LanguageTableLifecycle, ReleaseClearsTheTableAndTheCurrencyTexts) {
    BuildLanguageTable();
    ASSERT_NE(Langues, nullptr);
    EXPECT_FALSE(StaticLanguageRows()[19].CurrencySymbol.empty());
    ReleaseLanguageTable();
    EXPECT_EQ(Langues, nullptr);
    for (std::size_t i = 0; i < kLanguageCount; ++i) EXPECT_TRUE(StaticLanguageRows()[i].CurrencySymbol.empty());
}
