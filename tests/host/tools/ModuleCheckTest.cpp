// The checker's reading of placeholders, which must agree with the program's formatter, and its
// verdict on bytes that are no module at all (under ASan: without reading outside them).
#include "ModuleCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace attente;

namespace {

struct TPlaceholderCase {
    const char16_t* Text;
    const char* Expected;
};

const TPlaceholderCase kPlaceholderCases[] = {
    {u"Ressource %s introuvable", "s"},
    {u"Exception %s dans le module %s en %p.\r\n%s%s\r\n", "sspss"},
    {u"100%% %s", "s"}, // an escaped percent sign takes nothing
    {u"%%s", ""},       // nor does the letter after it
    {u"%%%s", "s"},
    {u"%d %x %n %s", "s"}, // other conversions are shown as they are
    {u"trailing %", ""},
    {u"%S %P", ""}, // conversions are small letters only
    {u"", ""},
};

} // namespace

TEST(ModuleCheckPlaceholders, ReadsConversionsAsTheFormatterFillsThem) {
    for (const TPlaceholderCase& c : kPlaceholderCases) {
        SCOPED_TRACE(std::string(c.Expected));
        EXPECT_EQ(Placeholders(c.Text), c.Expected);
    }
}

TEST(ModuleCheckBytes, RefusesWhatIsNoModuleWithOneMessage) {
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {}, {'M', 'Z'}, std::vector<std::uint8_t>(4096, 0), std::vector<std::uint8_t>(4096, 0xFF)};
    for (const auto& bytes : inputs) {
        const std::vector<std::string> faults = CheckModule("setup.DEU", bytes, TCheckScope::Complete);
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0], "setup.DEU: not a module with a sound resource tree (truncated or damaged)");
    }
}
