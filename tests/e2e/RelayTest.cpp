// A second start of the same exe talks to the open window: /SWITCH= reloads it in another language and
// /STATUS= puts the installer's words in its label, in place; other programs' windows stay untouched.
#include "StatusProgram.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace attente::test;

namespace {

constexpr UINT kStatusTextString = 65174;
constexpr DWORD kNoStatusWindowExitCode = 2;

std::wstring LabelText(HWND window) {
    return ReadStatusWindow(window).Label.Text;
}

} // namespace

TEST(Relay, SwitchAndStatusChangeTheOpenWindowInPlace) {
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DEU");
    folder.AddDistModule("ENU", "setup.ENU");
    folder.AddDistModule("HE", "setup.HEB");
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT placed{};
    GetWindowRect(window, &placed);

    const std::wstring german = ModuleString(folder.File("setup.DEU"), kStatusTextString);
    const std::wstring english = ModuleString(folder.File("setup.ENU"), kStatusTextString);
    const std::wstring hebrew = ModuleString(folder.File("setup.HEB"), kStatusTextString);
    ASSERT_FALSE(german.empty());
    const std::wstring copying = L"\u041a\u043e\u043f\u0438\u044f\r\n\u0444\u0430\u0439\u043b\u043e\u0432";
    struct {
        const char* switchText;
        std::wstring label;
        bool rightToLeft;
    } const steps[] = {
        {"/SWITCH=HEB", hebrew, true},
        // Every property another module's description changed comes back with the next module's.
        {"/SWITCH=DEU", german, false},
        // No Italian module: the chain goes on to English, as for /L=ITA.
        {"/SWITCH=ITA", english, false},
        // Each /STATUS= item is a line, and a Windows path reads as written.
        {"\"/STATUS=Installing into C:\\Users\\nicole\\new folder\" \"/STATUS=C:\\a\\\"",
         L"Installing into C:\\Users\\nicole\\new folder\r\nC:\\a\\", false},
        {"/STATUS=\xD0\x9A\xD0\xBE\xD0\xBF\xD0\xB8\xD1\x8F "
         "/STATUS=\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\xD0\xBE\xD0\xB2",
         copying, false},
        // A later language keeps the installer's words; an empty status gives the module's back.
        {"/SWITCH=DEU", copying, false},
        {"/STATUS=", german, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.switchText);
        EXPECT_EQ(Relay(folder.Exe(), step.switchText), 0u);
        EXPECT_EQ(FindStatusWindowOfImage(folder.Exe()), window); // the same window, still shown
        const TStatusWindow status = ReadStatusWindow(window);
        EXPECT_EQ(status.Label.Text, step.label);
        EXPECT_TRUE(status.Label.Visible);
        EXPECT_FALSE(status.Clock.Visible);
        EXPECT_EQ((GetWindowLongW(status.Label.Window, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0,
                  step.rightToLeft);
        RECT now{};
        GetWindowRect(window, &now);
        EXPECT_TRUE(EqualRect(&now, &placed));
        EXPECT_TRUE(WaitForWholeBorder(window));
    }
    CloseAndExpectExit(program, window);
}

TEST(Relay, OnlyWindowsOfTheSameExeAreReached) {
    TInstallFolder folder;
    folder.Copy(folder.Exe(), "other.exe");
    const std::string other = folder.File("other.exe");
    TChildProcess program(other, "\"" + other + "\"");
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    const std::wstring before = LabelText(window);

    EXPECT_EQ(Relay(folder.Exe(), "/STATUS=x"), kNoStatusWindowExitCode);
    EXPECT_EQ(Relay(folder.Exe(), "/SWITCH=ENU"), kNoStatusWindowExitCode);
    EXPECT_EQ(LabelText(window), before);
    EXPECT_EQ(FindStatusWindowOfImage(folder.Exe()), nullptr); // the relay opened no window of its own
    CloseAndExpectExit(program, window);
}

// With /STRICT a switch that would land on a fallback sends nothing: the window keeps its language.
TEST(Relay, StrictSwitchFindsTheLanguagesOwnModuleOrChangesNothing) {
    constexpr DWORD kFallbackExitCode = 6;
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DE");
    folder.AddDistModule("ENU", "setup.ENU");
    folder.Write("setup.IT", "MZ, but no module"); // passed over like a missing module
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    const std::wstring german = ModuleString(folder.File("setup.DE"), kStatusTextString);
    const std::wstring english = ModuleString(folder.File("setup.ENU"), kStatusTextString);
    const struct {
        const char* switches;
        DWORD exitCode;
        const std::wstring& label;
    } steps[] = {
        {"/STRICT /SWITCH=DEU", 0, german},
        {"/STRICT /SWITCH=ITA", kFallbackExitCode, german}, // its module is not sound
        {"/STRICT /SWITCH=ESP", kFallbackExitCode, german}, // no module
        {"/STRICT /SWITCH=XYZ", kFallbackExitCode, german}, // not a language of the table
        {"/STRICT /SWITCH=FRA", kFallbackExitCode, german}, // the built-in texts are no module
        {"/SWITCH=ITA", 0, english},                        // without it, the English fallback
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.switches);
        EXPECT_EQ(Relay(folder.Exe(), step.switches), step.exitCode);
        EXPECT_EQ(LabelText(window), step.label);
    }
    CloseAndExpectExit(program, window);
}
