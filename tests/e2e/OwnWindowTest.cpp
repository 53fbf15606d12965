// Each installer drives its own window: two installers at once from one folder or two, a window named
// with /ID= from a process that did not start it, a /RUN= job that closes its window early and still
// gives its own exit code, and a window that is never shown but takes requests.
#include "StatusProgram.h"
#include "TextFormat.h"
#include "WindowMarks.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

using namespace attente::test;

namespace {

constexpr DWORD kNoWindowExitCode = 2;

// The label's text of every ready status window, by the process that started it.
std::map<DWORD, std::wstring> TextsByStarter() {
    std::map<DWORD, std::wstring> texts;
    for (HWND w = FindWindowExW(nullptr, nullptr, kWindowClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kWindowClass, nullptr))
        if (GetPropW(w, attente::kReadyMark))
            texts[static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetPropW(w, attente::kStarterMark)))] =
                ReadStatusWindow(w).Label.Text;
    return texts;
}

// A windowless installer (support/ScriptedInstaller.c) running `script`.
struct TScript {
    std::string Path;
    TScript(const TTempFolder& folder, const std::string& name, const std::string& exe, const std::string& status) {
        const std::string q = "\"" + exe + "\"";
        folder.Write(name, "start " + q + " /L=AUTO\nrun " + q + " \"/STATUS=" + status + "\"\nsleep 2500\nrun " + q +
                               " /CLOSE\n");
        Path = folder.File(name);
    }
};

TChildProcess RunScript(const TScript& script) {
    return TChildProcess(WindowsForm(ATTENTE_SCRIPTED_INSTALLER), "installer.exe \"" + script.Path + "\"");
}

} // namespace

TEST(OwnWindow, TwoInstallersAtOnceEachDriveAndCloseTheirOwn) {
    for (const bool oneFolder : {true, false}) {
        SCOPED_TRACE(oneFolder ? "one folder" : "two folders");
        TInstallFolder first, second;
        const std::string exeB = oneFolder ? first.Exe() : second.Exe();
        const TScript a(first, "a.txt", first.Exe(), "from A"), b(first, "b.txt", exeB, "from B");
        TChildProcess installerA = RunScript(a);
        Sleep(300);
        TChildProcess installerB = RunScript(b);
        // Both have sent their text and wait before closing.
        std::map<DWORD, std::wstring> texts;
        for (const TDeadline deadline; !deadline.Passed(); Sleep(50)) {
            texts = TextsByStarter();
            if (texts[installerA.ProcessId()] == L"from A" && texts[installerB.ProcessId()] == L"from B") break;
        }
        EXPECT_EQ(texts[installerA.ProcessId()], L"from A");
        EXPECT_EQ(texts[installerB.ProcessId()], L"from B");
        EXPECT_EQ(installerA.Wait(), 0u);
        EXPECT_EQ(installerB.Wait(), 0u);
        EXPECT_EQ(installerA.Output(), "exit 0\r\nexit 0\r\n");
        EXPECT_EQ(installerB.Output(), "exit 0\r\nexit 0\r\n");
        for (const TDeadline deadline; !TextsByStarter().empty() && !deadline.Passed(); Sleep(50)) {
        }
        EXPECT_TRUE(TextsByStarter().empty()) << "a window outlived its /CLOSE";
    }
}

TEST(OwnWindow, ANamedWindowTakesRequestsFromAnyProcessOthersOnlyFromItsInstaller) {
    TInstallFolder folder;
    TTempFolder scripts;
    scripts.Write("named.txt", "start \"" + folder.Exe() + "\" /L=AUTO /ID=Main\nsleep 20000\n");
    TChildProcess installer(WindowsForm(ATTENTE_SCRIPTED_INSTALLER),
                            "installer.exe \"" + scripts.File("named.txt") + "\"");
    HWND window = nullptr;
    for (const TDeadline deadline; !window && !deadline.Passed(); Sleep(50))
        window = FindStatusWindowOfImage(folder.Exe());
    ASSERT_NE(window, nullptr);
    for (const TDeadline deadline; !GetPropW(window, attente::kReadyMark) && !deadline.Passed(); Sleep(50)) {
    }
    const struct {
        const char* switches;
        DWORD exitCode;
        const wchar_t* label; // null: unchanged
    } requests[] = {
        {"\"/STATUS=not mine\"", kNoWindowExitCode, nullptr}, // this test did not start it
        {"/ID=Other \"/STATUS=not that one\"", kNoWindowExitCode, nullptr},
        {"/ID=main \"/STATUS=named\"", 0, L"named"}, // names ignore letter case
        {"/ID=main /CLOSE", 0, nullptr},
    };
    const std::wstring before = ReadStatusWindow(window).Label.Text;
    for (const auto& r : requests) {
        SCOPED_TRACE(r.switches);
        EXPECT_EQ(Relay(folder.Exe(), r.switches), r.exitCode);
        if (IsWindow(window)) EXPECT_EQ(ReadStatusWindow(window).Label.Text, r.label ? r.label : before);
    }
    for (const TDeadline deadline; IsWindow(window) && !deadline.Passed(); Sleep(50)) {
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST(OwnWindow, AJobThatClosesTheWindowEarlyStillGivesItsOwnExitCode) {
    TInstallFolder folder;
    folder.Write("job.cmd", "@echo off\r\n"
                            "\"%~dp0setup.exe\" /CLOSE\r\n"
                            "echo close %errorlevel% > \"%~dp0job.txt\"\r\n"
                            "\"%~dp0setup.exe\" \"/STATUS=too late\"\r\n"
                            "echo late %errorlevel% >> \"%~dp0job.txt\"\r\n"
                            "ping -n 2 127.0.0.1 >NUL\r\n"
                            "exit /b 7\r\n");
    const DWORD started = GetTickCount();
    TChildProcess program =
        folder.Start("/L=AUTO /RUN=cmd.exe /c \"\"" + folder.File("job.cmd") + "\"\"");
    // The window goes at the job's /CLOSE; the program waits for the job and gives back its code.
    EXPECT_EQ(program.Wait(), 7u);
    std::string report;
    HANDLE file = CreateFileA(folder.File("job.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[256] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    report.assign(buffer, read);
    // A request after the window closed finds none at once: the closed window is no window to wait for.
    EXPECT_EQ(report, "close 0 \r\nlate 2 \r\n");
    EXPECT_LT(GetTickCount() - started, 9000u) << "the late request waited for a window that would not come";
}

TEST(OwnWindow, AHiddenWindowIsNeverShownAndTakesRequests) {
    TInstallFolder folder;
    TChildProcess program = folder.Start("/L=AUTO /HIDDEN");
    const HWND window = WaitForWindow(program, kWindowClass);
    ASSERT_NE(window, nullptr) << program.Output();
    for (const TDeadline deadline; !GetPropW(window, attente::kReadyMark) && !deadline.Passed(); Sleep(50)) {
    }
    for (const char* request : {"\"/STATUS=silent\"", "/PROGRESS=1/2", "/SWITCH=ENU"}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(Relay(folder.Exe(), request), 0u);
        EXPECT_FALSE(IsWindowVisible(window));
    }
    EXPECT_EQ(ReadStatusWindow(window).Label.Text, L"silent");
    EXPECT_EQ(Relay(folder.Exe(), "/CLOSE"), 0u);
    EXPECT_EQ(program.Wait(), 0u);
}
