// Template filling must survive hostile templates from language modules.
#include "TextFormat.h"

#include <gtest/gtest.h>

using namespace attente;

TEST(FormatTemplate, FillsOnlyTheGivenPlaceholdersInOrder) {
    struct Case {
        const wchar_t* templ;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Ressource %s non trouvée", L"Ressource TFORM1 non trouvée"},
        {L"%s%s%s%n", L"TFORM1%s%s%n"},       // more placeholders than arguments
        {L"%p then %s", L"%p then TFORM1"},   // wrong kind first: left alone, never consumed
        {L"100%% sure: %s", L"100% sure: TFORM1"},
        {L"%d %x %", L"%d %x %"},             // unknown sequences and a trailing % stay literal
        {L"", L""},
        {L"no placeholder", L"no placeholder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "template " << WideToUtf8(c.templ));
        EXPECT_EQ(FormatTemplate(c.templ, {{L's', L"TFORM1"}}), c.expected);
    }
}

TEST(FormatTemplate, FillsTheExceptionBoxTemplate) {
    const std::wstring text =
        FormatTemplate(L"Exception %s dans le module %s dans %p.\r\n%s%s\r\n",
                       {{L's', L"EResNotFound"}, {L's', L"setup.exe"}, {L'p', L"00401000"},
                        {L's', L"Ressource TFORM1 non trouvée"}, {L's', L"."}});
    EXPECT_EQ(text, L"Exception EResNotFound dans le module setup.exe dans 00401000.\r\n"
                    L"Ressource TFORM1 non trouvée.\r\n");
}

TEST(Utf, RoundTripsAndReplacesInvalidSequences) {
    const std::string french = "Mise \xC3\xA0 jour \xE2\x82\xAC \xF0\x9F\x95\x90";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(french)), french);
    EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\xFFFD");          // truncated sequence
    EXPECT_EQ(Utf8ToWide("\xC0\x80"), L"\xFFFD");        // overlong encoding of U+0000
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80x"), L"\xFFFDx");  // encoded surrogate
    EXPECT_EQ(Utf8ToWide("\xFF"), L"\xFFFD");
}
