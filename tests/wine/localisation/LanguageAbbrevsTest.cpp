// The module checker's portable abbreviation list against the platform's locale data: it must name
// the language table's locales in table order, with exactly the abbreviations GetLocaleInfoA gives.
#include "InitLangue.h"
#include "LanguageAbbrevs.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace attente;

namespace {

// The table's last row, locale 0, follows the user's default locale and so is not in the list.
constexpr std::size_t kFixedLanguageCount = kLanguageCount - 1;
constexpr int kAbbrevBufferSize = 5;

} // namespace

TEST(LanguageAbbrevs, ListsTheTablesFixedLocalesWithThePlatformsAbbreviations) {
    ASSERT_EQ(kLanguageAbbrevCount, kFixedLanguageCount);
    EXPECT_EQ(kLanguageLcids[kFixedLanguageCount], 0u);
    for (std::size_t i = 0; i < kLanguageAbbrevCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kLanguageAbbrevs[i].Lcid, kLanguageLcids[i]);
        char abbrev[kAbbrevBufferSize] = {};
        ASSERT_GT(GetLocaleInfoA(kLanguageAbbrevs[i].Lcid, LOCALE_SABBREVLANGNAME, abbrev, kAbbrevBufferSize),
                  0);
        EXPECT_STREQ(kLanguageAbbrevs[i].Abbrev, abbrev);
        EXPECT_TRUE(IsTableAbbrev(abbrev));
    }
    EXPECT_FALSE(IsTableAbbrev("XYZ"));
    EXPECT_FALSE(IsTableAbbrev("deu"));
}
