// Error-box texts: the two punctuation rules and hostile or missing templates.
#include "FailureText.h"

#include <gtest/gtest.h>

using namespace attente;

namespace {

const wchar_t kFrenchTemplate[] = L"Exception %s dans le module %s dans %p.\r\n%s%s\r\n";

TStartupFailure Failure(const wchar_t* message) {
    return {L"EResNotFound", L"setup.exe", L"00401000", message};
}

} // namespace

TEST(FailureText, LoopTextGetsAStopOnlyAfterCodesAboveTheStop) {
    struct Case {
        const wchar_t* message;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Ressource TFORM1 non trouv\u00e9e", L"Ressource TFORM1 non trouv\u00e9e."},
        {L"Fini.", L"Fini."},
        {L"", L""},
        {L"Quoi!", L"Quoi!"}, // '!' is below '.'
        {L"(x)", L"(x)"},     // so is ')'
        {L"un, deux,", L"un, deux,"},
        {L"a-", L"a-"},
        {L"C:/", L"C:/."}, // '/' is just above '.'
        {L"9", L"9."},
        {L"fin ", L"fin "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoopFailureText(c.message), c.expected);
}

TEST(FailureText, StartupTextFillsTheTemplate) {
    EXPECT_EQ(StartupFailureText(kFrenchTemplate, Failure(L"Ressource TFORM1 non trouv\u00e9e")),
              L"Exception EResNotFound dans le module setup.exe dans 00401000.\r\n"
              L"Ressource TFORM1 non trouv\u00e9e.\r\n");
    // Unlike the loop rule, any last character but "." gets a stop.
    EXPECT_EQ(StartupFailureText(L"%s|%s|%p|%s%s", Failure(L"Quoi!")),
              L"EResNotFound|setup.exe|00401000|Quoi!.");
    EXPECT_EQ(StartupFailureText(L"%s|%s|%p|%s%s", Failure(L"Fini.")),
              L"EResNotFound|setup.exe|00401000|Fini.");
    EXPECT_EQ(StartupFailureText(L"%s|%s|%p|%s%s", Failure(L"")), L"EResNotFound|setup.exe|00401000|");
}

TEST(FailureText, MissingTemplateStillNamesEverything) {
    EXPECT_EQ(StartupFailureText(L"", Failure(L"Panne")),
              L"EResNotFound\r\nsetup.exe\r\n00401000\r\nPanne.\r\n");
}

TEST(FailureText, HostileTemplateIsFilledLiterally) {
    EXPECT_EQ(StartupFailureText(L"%n%s%s%s%s%s%s%s%x%", Failure(L"m")),
              L"%nEResNotFoundsetup.exe%s%s%s%s%s%x%");
    EXPECT_EQ(StartupFailureText(L"%s%s%p%s%s%p%s", Failure(L"m")), L"EResNotFoundsetup.exe00401000m.%p%s");
}

TEST(FailureText, CodeAddressHasEightHexDigits) {
    EXPECT_EQ(FormatCodeAddress(0x401000), L"00401000");
    EXPECT_EQ(FormatCodeAddress(0), L"00000000");
    EXPECT_EQ(FormatCodeAddress(0xFFFFFFFFu), L"FFFFFFFF");
    EXPECT_EQ(FormatCodeAddress(0xABCDEF), L"00ABCDEF");
    if constexpr (sizeof(std::uintptr_t) > 4)
        EXPECT_EQ(FormatCodeAddress(static_cast<std::uintptr_t>(0x1) << 16 << 16), L"0000000100000000");
}
