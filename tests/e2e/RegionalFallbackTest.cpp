// A full installation (every shipped module beside setup.exe) started without /L on a system of a
// regional variant: the variant reaches its language's module by the first two letters, a variant
// with its own texts gets them, and a script's module never serves readers of the other script.
// Runs once per system locale (LC_ALL), with what that locale must reach in the environment.
#include "Handles.h"
#include "RegistryLock.h"
#include "StatusProgram.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

using namespace attente::test;

namespace {

constexpr int kAbbrevBufferSize = 5;
constexpr UINT kStatusTextString = 65174;

std::string Setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::wstring StatusTextOf(const std::string& extension) {
    return ModuleString(DistFolder() + "\\attente." + extension, kStatusTextString);
}

void CopyEveryShippedModule(const TInstallFolder& folder) {
    WIN32_FIND_DATAA data{};
    const attente::TFindHandle find(FindFirstFileA((DistFolder() + "\\attente.*").c_str(), &data));
    ASSERT_TRUE(find);
    do {
        const std::string name = data.cFileName;
        if (name != "attente.exe")
            folder.AddDistModule(name.substr(name.find('.') + 1), "setup." + name.substr(name.find('.') + 1));
    } while (FindNextFileA(find.Get(), &data));
}

} // namespace

TEST(RegionalFallback, RunsUnderTheRegionalSystemLocale) {
    char abbrev[kAbbrevBufferSize] = {};
    GetLocaleInfoA(GetSystemDefaultLCID(), LOCALE_SABBREVLANGNAME, abbrev, kAbbrevBufferSize);
    EXPECT_EQ(std::string(abbrev), Setting("ATTENTE_EXPECT_SYSTEM_ABBREV"));
    GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, abbrev, kAbbrevBufferSize);
    EXPECT_EQ(std::string(abbrev), Setting("ATTENTE_EXPECT_SYSTEM_ABBREV"));
}

TEST(RegionalFallback, FullInstallationShowsTheModuleTheVariantReaches) {
    const std::wstring expected = StatusTextOf(Setting("ATTENTE_EXPECT_MODULE"));
    ASSERT_FALSE(expected.empty()) << "no shipped module " << Setting("ATTENTE_EXPECT_MODULE");
    TRegistryLock registry;
    TInstallFolder folder;
    CopyEveryShippedModule(folder);
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    const TStatusWindow status = ReadStatusWindow(window);
    EXPECT_EQ(status.Label.Text, expected);
    const std::string refused = Setting("ATTENTE_REFUSE_MODULE");
    if (!refused.empty()) {
        EXPECT_NE(status.Label.Text, StatusTextOf(refused)) << "served by " << refused;
    }
    CloseAndExpectExit(program, window);
}
