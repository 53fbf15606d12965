// The application object in a real process: the show state it was started with, failures shown in
// an error box while the loop goes on, the loop's end however the main window goes, and shutdown on
// every exit path.
#include "ProbeFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace attente::test;

namespace {

constexpr UINT kRaiseMessage = WM_APP + 1;
constexpr UINT kExitMessage = WM_APP + 2;
constexpr wchar_t kProbeWindowClass[] = L"AttenteProbeWindow";
constexpr DWORD kIdlePatienceMs = 30000;

struct ShowCase {
    const char* name;
    int showState;
    bool zoomed;
    bool iconic;
};

void PrintTo(const ShowCase& c, std::ostream* os) {
    *os << c.name;
}

class ShowState : public testing::TestWithParam<ShowCase> {};

TEST_P(ShowState, MainWindowShownAsTheProcessWasStarted) {
    const ShowCase& c = GetParam();
    TProbeFolder folder;
    TChildOptions options;
    options.ShowState = c.showState;
    TChildProcess child = folder.Start("loop", "", options);
    const HWND window = WaitForWindow(child, kProbeWindowClass);
    ASSERT_NE(window, nullptr);
    while (!IsWindowVisible(window) && child.Running())
        Sleep(10);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(IsZoomed(window) != FALSE, c.zoomed);
    EXPECT_EQ(IsIconic(window) != FALSE, c.iconic);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.Wait(), 0u);
}

const ShowCase kShowCases[] = {
    {"not_given", -1, false, false},
    {"normal", SW_SHOWNORMAL, false, false},
    {"maximised", SW_SHOWMAXIMIZED, true, false},
    {"minimised_without_activation", SW_SHOWMINNOACTIVE, false, true},
};

INSTANTIATE_TEST_SUITE_P(Application, ShowState, testing::ValuesIn(kShowCases),
                         [](const testing::TestParamInfo<ShowCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

TEST(ApplicationLoop, FailureWhileHandlingAMessageIsShownAndTheLoopGoesOn) {
    TProbeFolder folder;
    TChildProcess child = folder.Start("loop");
    const HWND window = WaitForWindow(child, kProbeWindowClass);
    ASSERT_NE(window, nullptr);

    PostMessageW(window, kRaiseMessage, 0, 0);
    const TMessageBox first = TakeMessageBox(child);
    ASSERT_TRUE(first.Found);
    EXPECT_EQ(first.Title, L"setup");
    EXPECT_EQ(first.Text, L"Ressource TFORM1 non trouv\u00e9e.");

    // A second failure is shown too: the loop survived the first.
    PostMessageW(window, kRaiseMessage, 1, 0);
    const TMessageBox second = TakeMessageBox(child);
    ASSERT_TRUE(second.Found);
    EXPECT_EQ(second.Title, L"setup");
    EXPECT_EQ(second.Text, L"");

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.Wait(), 0u);
    EXPECT_NE(child.Output().find("LoopEnded="), std::string::npos);
}

TEST(ApplicationLoop, MainWindowClosedFromAnotherProcessEndsTheLoop) {
    TProbeFolder folder;
    TChildProcess child = folder.Start("loop");
    const HWND window = WaitForWindow(child, kProbeWindowClass);
    ASSERT_NE(window, nullptr);
    while (!IsWindowVisible(window) && child.Running())
        Sleep(10);
    WaitForInputIdle(child.Handle(), kIdlePatienceMs);
    // Handled inside the child's GetMessage: no posted message wakes its loop afterwards.
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.Wait(), 0u);
    EXPECT_NE(child.Output().find("LoopEnded="), std::string::npos);
    EXPECT_NE(child.Output().find("Shutdown="), std::string::npos);
}

TEST(ApplicationLoop, HandlerEndingTheProcessRunsShutdownWithItsOwnExitCode) {
    TProbeFolder folder;
    TChildProcess child = folder.Start("loop");
    const HWND window = WaitForWindow(child, kProbeWindowClass);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, kExitMessage, 7, 0);
    EXPECT_EQ(child.Wait(), 7u);
    EXPECT_NE(child.Output().find("Shutdown="), std::string::npos);
    EXPECT_EQ(child.Output().find("LoopEnded="), std::string::npos);
}
