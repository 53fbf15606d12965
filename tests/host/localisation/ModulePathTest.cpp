// Candidate names for language modules: the last-"." rule and the path-length limit.
#include "ModulePath.h"

#include <gtest/gtest.h>

#include <string>

using namespace attente;

namespace {

// A path of exactly `length` UTF-16 units ending in `tail`, filled with `fill` (UTF-8, of `fillUnits`).
std::string PathOfLength(std::size_t length, const std::string& tail, const std::string& fill = "d",
                         std::size_t fillUnits = 1) {
    std::string path = "C:\\";
    for (std::size_t units = path.size() + tail.size(); units < length; units += fillUnits)
        path += fill;
    return path + tail;
}

} // namespace

TEST(ModuleCandidate, ReplacesEverythingAfterTheLastDot) {
    struct Case {
        const char* path;
        const char* extension;
        const char* expected; // nullptr: no candidate
    };
    const Case cases[] = {
        {"C:\\Program Files\\App\\setup.exe", "DEU", "C:\\Program Files\\App\\setup.DEU"},
        {"C:\\Program Files\\App\\setup.exe", "DE", "C:\\Program Files\\App\\setup.DE"},
        {"C:\\App\\setup.tar.exe", "en", "C:\\App\\setup.tar.en"},
        {"C:\\App\\setup.", "ENU", "C:\\App\\setup.ENU"},
        {"C:\\App\\setup.x", "ENUX", "C:\\App\\setup.ENUX"},
        // The search crosses directory separators: an extension-less file under "dir.x" is cut
        // after the directory's dot.
        {"C:\\Tools\\dir.x\\setup", "DEU", "C:\\Tools\\dir.DEU"},
        {"C:\\a.b\\c.d\\setup", "FR", "C:\\a.b\\c.FR"},
        {"C:\\App\\setup", "DEU", nullptr},
        {"setup", "DEU", nullptr},
        {".exe", "DEU", nullptr}, // a dot in first place counts as none
        {"", "DEU", nullptr},
        {"C:\\App\\setup.exe", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " + " + c.extension);
        const std::optional<std::string> candidate = ModuleCandidate(c.path, c.extension);
        if (c.expected == nullptr) {
            EXPECT_FALSE(candidate.has_value());
        } else {
            ASSERT_TRUE(candidate.has_value());
            EXPECT_EQ(*candidate, c.expected);
        }
    }
}

TEST(ModuleCandidate, FindsTheDotWhereTheRuleSaysItIs) {
    EXPECT_EQ(FindExtensionDot("C:\\App\\setup.exe"), std::optional<std::size_t>(12));
    EXPECT_EQ(FindExtensionDot("C:\\dir.x\\setup"), std::optional<std::size_t>(6));
    EXPECT_EQ(FindExtensionDot("a."), std::optional<std::size_t>(1));
    EXPECT_FALSE(FindExtensionDot(".").has_value());
    EXPECT_FALSE(FindExtensionDot("C:\\App\\setup").has_value());
}

TEST(ModuleCandidate, SkipsCandidatesThatDoNotFitInsteadOfCuttingThem) {
    struct Case {
        std::size_t pathLength;
        const char* tail;
        const char* extension;
        bool fits;
        const char* fill = "d";
        std::size_t fillUnits = 1;
    };
    // Folders named in other scripts: the limit counts UTF-16 units, not the bytes of UTF-8.
    const char* const kCyrillic = "\xD0\xB4";       // one unit in two bytes
    const char* const kChinese = "\xE5\xAE\x89";    // one unit in three bytes
    const char* const kAstral = "\xF0\x9F\x98\x80"; // two units in four bytes
    const Case cases[] = {
        {259, "\\setup.exe", "DEU", true},   // 259: same length
        {260, "\\setup.exe", "DEU", true},   // 260: the longest that fits with its zero
        {260, "\\setup.exe", "ENUX", false}, // would be 261
        {259, "\\setup.x", "DE", true},      // 260
        {259, "\\setup.x", "DEU", false},    // 261: cut to 260 it would name setup.DE
        {259, "\\setup.x", "ENUX", false},   // 262: cut it would name setup.EN or setup.ENU
        {300, "\\setup.exe", "DEU", false},
        {260, "\\setup.exe", "DEU", true, kCyrillic},
        {260, "\\setup.exe", "ENUX", false, kCyrillic},
        {200, "\\setup.exe", "DEU", true, kChinese}, // 600 bytes and more
        {260, "\\setup.exe", "DEU", true, kChinese},
        {260, "\\setup.exe", "ENUX", false, kChinese},
        {260, "\\setup.ex", "DE", true, kAstral, 2},
        {260, "\\setup.ex", "DEU", false, kAstral, 2},
    };
    for (const Case& c : cases) {
        const std::string path = PathOfLength(c.pathLength, c.tail, c.fill, c.fillUnits);
        ASSERT_EQ(Utf16Length(path), c.pathLength);
        SCOPED_TRACE(testing::Message() << c.pathLength << c.tail << " + " << c.extension);
        const std::optional<std::string> candidate = ModuleCandidate(path, c.extension);
        ASSERT_EQ(candidate.has_value(), c.fits);
        if (candidate) {
            EXPECT_LT(Utf16Length(*candidate), kPathBufferSize);
            EXPECT_EQ(candidate->substr(candidate->size() - std::string(c.extension).size()), c.extension);
        }
    }
}

TEST(ModuleCandidate, TwoLetterFormIsTheLanguageWithoutItsRegion) {
    EXPECT_EQ(TwoLetterForm("DEU"), "DE");
    EXPECT_EQ(TwoLetterForm("ENUX"), "EN");
    EXPECT_EQ(TwoLetterForm("E"), "E");
    EXPECT_EQ(TwoLetterForm(""), "");
}
