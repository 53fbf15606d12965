// The splitter against the quoting, separator and two-byte rules, one row per command line.
#include "CommandLineSplit.h"

#include <gtest/gtest.h>

using namespace attente;
using Args = std::vector<std::string>;

namespace {

// Shift-JIS style lead bytes, whose trail bytes may be 0x22 (quote), 0x20 or 0x5C.
bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

struct SplitCase {
    const char* name;
    std::string raw;
    Args expected;
    TIsLeadByte isLeadByte = NoLeadBytes;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class Splitting : public testing::TestWithParam<SplitCase> {};

TEST_P(Splitting, GivesTheExpectedArguments) {
    EXPECT_EQ(SplitCommandLine(GetParam().raw, GetParam().isLeadByte), GetParam().expected);
}

const SplitCase kCases[] = {
    {"empty", "", {}},
    {"only_separators", " \t\r\n\x01\x1f ", {}},
    {"program_alone", "setup.exe", {"setup.exe"}},
    {"one_switch", "setup.exe /L=DEU", {"setup.exe", "/L=DEU"}},
    {"quoted_program_path",
     "\"C:\\Program Files\\setup.exe\" /l=deu",
     {"C:\\Program Files\\setup.exe", "/l=deu"}},
    {"every_code_up_to_32_separates",
     "a\x01"
     "b\x09"
     "c\x1f"
     "d\x20"
     "e",
     {"a", "b", "c", "d", "e"}},
    {"codes_above_32_do_not_separate",
     "a\x7f b\xa0"
     "c",
     {"a\x7f", "b\xa0"
               "c"}},
    {"quotes_group_and_are_dropped", "p a\"b c\"d", {"p", "ab cd"}},
    {"unterminated_quote_runs_to_the_end", "p \"/L=DEU x", {"p", "/L=DEU x"}},
    {"lone_quote_at_the_end_is_an_empty_argument", "p \"", {"p", ""}},
    {"quote_pair_at_argument_start_is_skipped", "p \"\" /L=DEU", {"p", "/L=DEU"}},
    {"several_quote_pairs_are_skipped", "p \"\"\"\" \"\" x", {"p", "x"}},
    {"quote_pair_before_text_is_skipped", "p \"\"x", {"p", "x"}},
    {"quote_pair_inside_an_argument_is_empty", "p x\"\"y", {"p", "xy"}},
    {"quote_pair_at_the_end_gives_nothing", "p \"\"", {"p"}},
    {"backslash_is_plain", "p \\\"a b\\\" c\\", {"p", "\\a b\\", "c\\"}},
    {"trailing_backslash_in_quoted_path", "\"C:\\dir\\\" x", {"C:\\dir\\", "x"}},
    {"zero_byte_ends_the_text", std::string("p a\0b", 5), {"p", "a"}},
    {"trail_byte_quote_stays_in_argument", "p \x81\" x", {"p", "\x81\"", "x"}, ShiftJisLead},
    {"trail_byte_space_stays_in_argument", "p \x81 x", {"p", "\x81 x"}, ShiftJisLead},
    {"trail_byte_quote_does_not_close_a_run", "p \"\x81\" y\" z", {"p", "\x81\" y", "z"}, ShiftJisLead},
    {"single_byte_code_page_reads_the_same_bytes_as_a_quote", "p \x81\" x", {"p", "\x81 x"}},
    {"lead_byte_as_the_last_byte", "p \x81", {"p", "\x81"}, ShiftJisLead},
    {"lead_byte_before_the_zero_byte", std::string("p \x81\0\"", 5), {"p", "\x81"}, ShiftJisLead},
};

INSTANTIATE_TEST_SUITE_P(CommandLine, Splitting, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SplitCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

TEST(CommandLine, VeryLongArgumentsSurviveWhole) {
    const std::string value(20000, 'x');
    EXPECT_EQ(SplitCommandLine("p /L=" + value), (Args{"p", "/L=" + value}));
    EXPECT_EQ(SplitCommandLine("p \"" + value), (Args{"p", value}));
}

TEST(CommandLine, NullPredicateMeansSingleByteText) {
    EXPECT_EQ(SplitCommandLine("p \x81\" x", nullptr), (Args{"p", "\x81 x"}));
}
