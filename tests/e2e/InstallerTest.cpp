// The example installer as its users run it: built with makensis, run silently, it must show the
// status window in the installer's own language while it works and leave nothing running behind.
#include "ChildProcess.h"
#include "Handles.h"
#include "TempFolder.h"
#include "StatusProgram.h"
#include "WindowReading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace attente::test;

namespace {

constexpr DWORD kPollMs = 20;
// Safety nets only: a broken installer must fail the test, not hang it.
constexpr int kWindowPolls = 1500;
constexpr DWORD kProcessEndMs = 30000;

// The status window of the program installed as `image`, once shown; null when none comes up.
HWND WaitForInstalledWindow(const TChildProcess& installer, const std::string& image) {
    for (int poll = 0; poll < kWindowPolls && installer.Running(); ++poll) {
        if (const HWND window = FindStatusWindowOfImage(image)) return window;
        Sleep(kPollMs);
    }
    return nullptr;
}

std::wstring StatusTextOf(HWND window) {
    for (const TChildWindow& child : ChildWindows(window))
        if (!child.Text.empty()) return child.Text;
    return {};
}

// Every text the label showed, in order, while the window stayed up.
std::vector<std::wstring> TextsWhileOpen(HWND window) {
    std::vector<std::wstring> texts;
    for (int poll = 0; poll < kWindowPolls && IsWindow(window); ++poll) {
        const std::wstring text = StatusTextOf(window);
        if (!text.empty() && (texts.empty() || texts.back() != text)) texts.push_back(text);
        Sleep(kPollMs);
    }
    return texts;
}

struct TInstallerCase {
    const char* Name;
    const char* Options; // before /D=, which must come last
    const wchar_t* Expected;
    const wchar_t* Step;
};

const wchar_t kFrench[] = L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...";

} // namespace

TEST(ExampleInstaller, ShowsTheStatusWindowInItsOwnLanguageAndClosesIt) {
    const TInstallerCase cases[] = {
        {"German installer", "/LANG=1031", L"Informationen werden aktualisiert\r\n\r\nBitte warten...",
         L"Dateien werden kopiert..."},
        {"English installer", "/LANG=1033", L"Updating information\r\n\r\nPlease wait...",
         L"Copying files..."},
        // The automatic choice follows this French system; French is the program's built-in language.
        {"automatic choice", "", kFrench, L"Copie des fichiers..."},
    };
    for (const TInstallerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        folder.Copy(WindowsForm(ATTENTE_EXAMPLE_INSTALLER), "example.exe");
        const std::string installDir = folder.File("app");
        const std::string exe = folder.File("example.exe");
        TChildProcess installer(exe, "\"" + exe + "\" /S " + c.Options + " /D=" + installDir);

        const HWND window = WaitForInstalledWindow(installer, installDir + "\\attente.exe");
        ASSERT_NE(window, nullptr) << "no status window while the installer ran";
        DWORD programId = 0;
        GetWindowThreadProcessId(window, &programId);
        const attente::TKernelHandle program(
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, programId));
        ASSERT_TRUE(program);
        // Up in the system's language, then the installer's, then the installer's step: one window.
        std::vector<std::wstring> expected{kFrench, c.Expected, c.Step};
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        EXPECT_EQ(TextsWhileOpen(window), expected);

        EXPECT_EQ(installer.Wait(), 0u);
        EXPECT_FALSE(IsWindow(window)) << "the status window outlived the installer";
        ASSERT_EQ(WaitForSingleObject(program.Get(), kProcessEndMs), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(program.Get(), &exitCode);
        EXPECT_EQ(exitCode, 0u);
    }
}
