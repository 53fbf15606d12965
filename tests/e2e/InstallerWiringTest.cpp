// What an installer author wires in, as a script would do it: /RUN= commands exactly as written,
// relays sent the instant the window is started, /CLOSE, and unattended mode without any box.
#include "Handles.h"
#include "StatusProgram.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

using namespace attente::test;

namespace {

constexpr DWORD kNoStatusWindowExitCode = 2;
constexpr DWORD kProcessEndMs = 20000;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void ExpectEnds(const TChildProcess& program, DWORD expected) {
    ASSERT_EQ(WaitForSingleObject(program.Handle(), kProcessEndMs), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.Handle(), &code);
    EXPECT_EQ(code, expected);
}

} // namespace

TEST(InstallerWiring, RunTakesTheRestOfTheLineAsWritten) {
    TInstallFolder folder;
    folder.MakeFolder("my job");
    const std::string job = folder.File("my job\\job.exe");
    folder.Copy(WindowsForm(ATTENTE_ARGS_JOB), "my job\\job.exe");
    folder.Write("my job\\job.cmd", "@\"%~dp0job.exe\" %*\r\n@exit /b %errorlevel%\r\n");
    const std::string quotedJob = "\"" + job + "\"";
    struct {
        const char* name;
        std::string switches;
        std::string received; // the job's own command line
    } const cases[] = {
        {"quoted program path and a quoted argument", "/RUN=" + quotedJob + " \"six a\" b",
         quotedJob + " \"six a\" b"},
        {"the whole switch quoted as well", "\"/RUN=" + quotedJob + " \"six a\" b\"",
         quotedJob + " \"six a\" b"},
        // Our own switches after /RUN= are the job's.
        {"switches after it belong to the job", "/RUN=" + quotedJob + " /L=DEU /STATUS=x",
         quotedJob + " /L=DEU /STATUS=x"},
        {"a script in a folder with a space, through cmd",
         "\"/RUN=cmd.exe /c \"" + folder.File("my job\\job.cmd") + "\" two\"", quotedJob + " two"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA((job + ".txt").c_str());
        TChildOptions options;
        options.Environment = {{"ATTENTE_JOB_EXIT", "7"}};
        folder.AddDistModule("DE", "setup.DE");
        TChildProcess program(folder.Exe(), "\"" + folder.Exe() + "\" " + c.switches, options);
        EXPECT_EQ(program.Wait(), 7u) << program.Output();
        const std::string received = ReadFile(job + ".txt");
        // cmd hands the job its own spelling of the program path; the arguments are what counts there.
        if (std::string(c.name).find("cmd") != std::string::npos)
            EXPECT_NE(received.find(" two"), std::string::npos) << received;
        else
            EXPECT_EQ(received, c.received);
    }
}

TEST(InstallerWiring, RelaySentTheInstantTheWindowIsStartedReachesIt) {
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DE");
    const std::wstring german = ModuleString(folder.File("setup.DE"), 65174);
    struct {
        const char* relay;
        std::wstring label; // empty: the window is to be closed
    } const cases[] = {
        {"/SWITCH=DEU", german},
        {"/CLOSE", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.relay);
        TChildProcess program = folder.Start();
        EXPECT_EQ(Relay(folder.Exe(), c.relay), 0u);
        if (c.label.empty()) {
            ExpectEnds(program, 0);
            continue;
        }
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        EXPECT_EQ(ReadStatusWindow(window).Label.Text, c.label);
        CloseAndExpectExit(program, window);
    }
}

TEST(InstallerWiring, CloseEndsEveryWindowOfTheSameExeAndNoOther) {
    TInstallFolder folder;
    folder.Copy(folder.Exe(), "other.exe");
    const std::string other = folder.File("other.exe");
    TChildProcess first = folder.Start();
    TChildProcess second = folder.Start();
    TChildProcess stranger(other, "\"" + other + "\"");
    for (const TChildProcess* program : {&first, &second, &stranger})
        ASSERT_NE(WaitForStatusWindow(*program), nullptr) << program->Output();

    EXPECT_EQ(Relay(folder.Exe(), "/CLOSE"), 0u);
    ExpectEnds(first, 0);
    ExpectEnds(second, 0);
    const HWND remaining = FindStatusWindowOfImage(other);
    EXPECT_NE(remaining, nullptr) << "a window of another exe file was closed";
    EXPECT_EQ(Relay(folder.Exe(), "/close"), kNoStatusWindowExitCode);
    if (remaining) CloseAndExpectExit(stranger, remaining);
}

TEST(InstallerWiring, UnattendedShowsNoBoxAndKeepsTheExitCode) {
    TInstallFolder folder;
    folder.AddTestModule("NoDescription", "setup.DEU");
    const std::string report = folder.File("report.txt");
    struct {
        const char* name;
        std::string switches;
        DWORD exitCode;
        const char* failure; // in the report
    } const cases[] = {
        {"start-up failure", "/L=DEU", 1, "EResNotFound in setup.exe"},
        {"a /RUN= command that cannot start", "/RUN=\"" + folder.File("missing.exe") + "\"", 127,
         "missing.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(report.c_str());
        TChildProcess program = folder.Start("/UNATTENDED \"/DIAG=" + report + "\" " + c.switches);
        EXPECT_EQ(WaitForStatusWindow(program, L"#32770"), nullptr) << "a box came up";
        EXPECT_EQ(program.Wait(), c.exitCode);
        const std::string text = ReadFile(report);
        EXPECT_NE(text.find(c.failure), std::string::npos) << text;
    }
}
