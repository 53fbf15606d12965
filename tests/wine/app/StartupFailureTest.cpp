// A failure that escapes start-up, raised by the real window creation for a window class that has
// no description: the task-modal error box with the texts of the installed module, exit code 1,
// shutdown still run.
#include "ProbeFolder.h"
#include "RegistryLock.h"
#include "ThrowSite.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

using namespace attente::test;

namespace {

struct FailureCase {
    const char* name;
    std::string arguments;
    bool germanModule;
    bool sparseModule;
    const wchar_t* title;
    const wchar_t* textPattern; // the code position is any 8 hex digits
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

const FailureCase kCases[] = {
    {"built_in_french_texts", "", false, false, L"Erreur d'application",
     L"Exception EResNotFound dans le module setup\\.exe dans [0-9A-F]{8}\\.\r\n"
     L"Ressource TProbeForm non trouv\u00e9e\\.\r\n"},
    {"texts_of_the_installed_german_module", "/L=DEU", true, false, L"Anwendungsfehler",
     L"Ausnahme EResNotFound im Modul setup\\.exe bei [0-9A-F]{8}\\.\r\n"
     L"Ressource TProbeForm nicht gefunden\\.\r\n"},
    // The module has none of the texts: the title is the program's name and every item still shows.
    {"module_without_the_texts", "/L=ITA", false, true, L"setup",
     L"EResNotFound\r\nsetup\\.exe\r\n[0-9A-F]{8}\r\nTProbeForm\\.\r\n"},
};

class StartupFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(StartupFailure, ShowsTheErrorBoxAndEndsWithCode1) {
    const FailureCase& c = GetParam();
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    if (c.germanModule) folder.CopyModule("DEU");
    if (c.sparseModule) folder.CopySparseModule();

    TChildProcess child = folder.Start("missing", c.arguments);
    const TMessageBox box = TakeMessageBox(child);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Title, c.title);
    EXPECT_TRUE(std::regex_match(box.Text, std::wregex(c.textPattern))) << testing::PrintToString(box.Text);
    EXPECT_EQ(child.Wait(), 1u);
    EXPECT_NE(child.Output().find("Shutdown="), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Startup, StartupFailure, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

[[gnu::noinline]] void RaiseHere() {
    throw std::runtime_error("ici");
}

// The box's code position is where the failure was raised, not where start-up caught it.
TEST(StartupFailure, CodePositionIsTheThrowSite) {
    std::uintptr_t site = 0;
    try {
        RaiseHere();
    } catch (...) {
        site = attente::LastThrowSite();
    }
    const auto raiser = reinterpret_cast<std::uintptr_t>(&RaiseHere);
    EXPECT_GT(site, raiser);
    EXPECT_LT(site, raiser + 64);
}

} // namespace
