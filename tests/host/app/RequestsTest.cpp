// Request values: what /PROGRESS= takes, and the table's codes that callers rely on.
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
        {"007", P{P::Bar, 7, 100}},
        {"3/10", P{P::Bar, 3, 10}},
        {"0/1", P{P::Bar, 0, 1}},
        {"10/10", P{P::Bar, 10, 10}},
        {"999999999/999999999", P{P::Bar, 999999999, 999999999}},
        {"101", std::nullopt},
        {"-1", std::nullopt},
        {"40%", std::nullopt},
        {" 40", std::nullopt},
        {"4 0", std::nullopt},
        {"11/10", std::nullopt},
        {"1/0", std::nullopt},
        {"/10", std::nullopt},
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

// Installers hard-code these: a change would break them.
TEST(Requests, CodesAndSwitchesStayAsShipped) {
    const struct {
        TRequestKind kind;
        const char* switchName;
        std::uintptr_t code;
    } rows[] = {
        {TRequestKind::Language, "/SWITCH", 0x41540001},
        {TRequestKind::Status, "/STATUS", 0x41540002},
        {TRequestKind::Progress, "/PROGRESS", 0x41540003},
        {TRequestKind::Close, "/CLOSE", 0},
    };
    for (const auto& row : rows) {
        const TRequestInfo& info = kRequests[static_cast<int>(row.kind)];
        EXPECT_EQ(info.Kind, row.kind);
        EXPECT_STREQ(info.Switch, row.switchName);
        EXPECT_EQ(info.CopyDataCode, row.code);
        EXPECT_EQ(RequestOfCode(row.code), row.code ? &info : nullptr);
    }
}
