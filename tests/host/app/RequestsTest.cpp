// Request values: what /PROGRESS= takes; anything else is refused before it is sent.
#include "Requests.h"

#include <gtest/gtest.h>

using namespace attente;

TEST(Requests, ProgressValues) {
    using P = TProgress;
    const struct {
        const char* text;
        std::optional<P> expected;
    } cases[] = {
        {"", P{}},
        {"BUSY", P{P::Busy, 0, 0}},
        {"busy", P{P::Busy, 0, 0}},
        {"0", P{P::Bar, 0, 100}},
        {"40", P{P::Bar, 40, 100}},
        {"100", P{P::Bar, 100, 100}},
        {"3/10", P{P::Bar, 3, 10}},
        {"0/1", P{P::Bar, 0, 1}},
        {"10/10", P{P::Bar, 10, 10}},
        {"999999999/999999999", P{P::Bar, 999999999, 999999999}},
        {"101", std::nullopt},
        {"40%", std::nullopt},
        {" 40", std::nullopt},
        {"11/10", std::nullopt},
        {"1/0", std::nullopt},
        {"3/", std::nullopt},
        {"3/10/20", std::nullopt},
        {"1/1000000000", std::nullopt},
        {"2147483648", std::nullopt},
        {"BUSY2", std::nullopt},
        {"\xd9\xa3", std::nullopt}, // an Arabic-Indic digit is no digit here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseProgress(c.text), c.expected);
        EXPECT_EQ(RequestValueValid(TRequestKind::Progress, c.text), c.expected.has_value());
    }
}
