// The README's installer recipes as their users run them (an NSIS installer with its pages and
// silently, a cmd script, a Windows Installer package): the status window must show the installer's
// language, steps and progress while it works, stay above a GUI installer's window without taking its
// focus, and leave nothing running behind.
#include "ChildProcess.h"
#include "Handles.h"
#include "TempFolder.h"
#include "StatusProgram.h"
#include "TextFormat.h"
#include "WindowReading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace attente::test;

namespace {

constexpr DWORD kPollMs = 20;
// A whole installer run, from its start to its program's end: well under the tests' 180 s, and a run
// that overstays fails with what it saw.
constexpr DWORD kRecipeLimitMs = 45000;

std::wstring StatusTextOf(HWND window) {
    for (const TChildWindow& child : ChildWindows(window))
        if (!child.Text.empty()) return child.Text;
    return {};
}

std::string Seen(const std::vector<std::wstring>& texts) {
    std::string seen;
    for (const std::wstring& text : texts)
        seen += "\n  \"" + attente::WideToUtf8(text) + "\"";
    return seen.empty() ? " none" : seen;
}

// The status window of the program installed as `image`, once shown; null when none comes up.
HWND WaitForInstalledWindow(const TChildProcess& installer, const std::string& image,
                            const TDeadline& deadline) {
    for (; installer.Running(); Sleep(kPollMs)) {
        if (const HWND window = FindStatusWindowOfImage(image)) return window;
        if (deadline.Passed()) {
            TDeadline::Overstayed("no status window of " + image +
                                  " while the installer ran: " + installer.Describe());
            return nullptr;
        }
    }
    return FindStatusWindowOfImage(image);
}

// The progress the bar shows, "n/m"; empty while it shows none.
std::string ProgressOf(HWND window) {
    for (const TChildWindow& child : ChildWindows(window)) {
        if (child.ClassName != "msctls_progress32" || !child.Visible) continue;
        const LRESULT range = SendMessageW(child.Window, PBM_GETRANGE, FALSE, 0);
        // A range of 0 is no answer: the window went while it was asked.
        if (range > 0) return std::to_string(SendMessageW(child.Window, PBM_GETPOS, 0, 0)) + "/" + std::to_string(range);
    }
    return {};
}

template <class T> void AddChange(std::vector<T>& seen, const T& value) {
    if (value != T() && (seen.empty() || seen.back() != value)) seen.push_back(value);
}

struct TSeen {
    std::vector<std::wstring> Texts;
    std::vector<std::string> Progress;
    bool SawInstallerWindow = false;
    bool AboveInstaller = true; // over the installer's own window, whenever it had one shown
    std::string Below;          // the z-order when it was not
    bool InstallerHadFocus = true;
};

// The installer's shown top-level window, or null.
HWND InstallerWindowOf(const TChildProcess& installer) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == installer.ProcessId() && IsWindowVisible(w) && !GetWindow(w, GW_OWNER)) return w;
    }
    return nullptr;
}

// Every text the label showed and every progress the bar showed, in order, while the window stayed up,
// and whether it kept above a GUI installer's window and left it the focus.
TSeen SeenWhileOpen(HWND window, const TChildProcess& installer, const TDeadline& deadline) {
    TSeen seen;
    for (; IsWindow(window); Sleep(kPollMs)) {
        AddChange(seen.Texts, StatusTextOf(window));
        AddChange(seen.Progress, ProgressOf(window));
        if (const HWND own = InstallerWindowOf(installer)) {
            seen.SawInstallerWindow = true;
            // Twice in a row: a window coming up or going away may be caught between two moves.
            const auto below = [&] { return IsWindow(window) && IsWindowVisible(own) && !IsAbove(window, own); };
            if (seen.AboveInstaller && below() && (Sleep(kPollMs), below())) {
                seen.AboveInstaller = false;
                seen.Below = "after " + std::to_string(seen.Texts.size()) + " texts and " +
                             std::to_string(seen.Progress.size()) + " progress values; z-order:";
                for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                    wchar_t name[64] = {};
                    GetClassNameW(w, name, 64);
                    if (IsWindowVisible(w)) seen.Below += " " + attente::WideToUtf8(name);
                }
            }
            const auto elsewhere = [&] {
                DWORD front = 0;
                GetWindowThreadProcessId(GetForegroundWindow(), &front);
                return IsWindowVisible(own) && front != installer.ProcessId();
            };
            if (elsewhere() && (Sleep(kPollMs), elsewhere())) seen.InstallerHadFocus = false;
        }
        if (deadline.Passed()) {
            TDeadline::Overstayed("the status window stayed open; its texts so far:" + Seen(seen.Texts) +
                                  "\nthe installer: " + installer.Describe());
            break;
        }
    }
    return seen;
}

const wchar_t kFrench[] = L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...";

// Runs an installer (already started) to its end while watching the status window of `image`: the
// window must show `expected` in order (the system's language first, perhaps too briefly to be seen
// when a switch follows at once) and the progress `progress`, stay above the installer's window
// while it has one and leave it the focus, close by the end, and the installer and the program end
// with `exitCode`.
void ExpectRecipeRun(TChildProcess& installer, const std::string& image, std::vector<std::wstring> expected,
                     const std::vector<std::string>& progress, bool overInstallerWindow = false,
                     DWORD exitCode = 0) {
    const TDeadline deadline(kRecipeLimitMs);
    const HWND window = WaitForInstalledWindow(installer, image, deadline);
    ASSERT_NE(window, nullptr) << "no status window while the installer ran: " << installer.Describe();
    DWORD programId = 0;
    GetWindowThreadProcessId(window, &programId);
    const attente::TKernelHandle program(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, programId));
    ASSERT_TRUE(program);
    const TSeen seen = SeenWhileOpen(window, installer, deadline);
    const std::vector<std::wstring>& texts = seen.Texts;
    if (texts.size() + 1 == expected.size() && !expected.empty()) expected.erase(expected.begin());
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(seen.Progress, progress);
    EXPECT_EQ(seen.SawInstallerWindow, overInstallerWindow);
    EXPECT_TRUE(seen.AboveInstaller) << "the installer's window came above the status window " << seen.Below;
    EXPECT_TRUE(seen.InstallerHadFocus) << "the installer lost the front";

    while (installer.Running() && !deadline.Passed())
        Sleep(kPollMs);
    EXPECT_EQ(installer.Wait(), exitCode) << installer.Describe();
    EXPECT_FALSE(IsWindow(window)) << "the status window outlived the installer; its texts:" << Seen(texts);
    ASSERT_EQ(WaitForSingleObject(program.Get(), deadline.Remaining()), WAIT_OBJECT_0)
        << "the program " << programId << " outlived the installer; its window's texts:" << Seen(texts);
    DWORD programExit = 1;
    GetExitCodeProcess(program.Get(), &programExit);
    EXPECT_EQ(programExit, exitCode);
}

std::wstring DistStatusText(const std::string& extension) {
    return ModuleString(DistFolder() + "\\attente." + extension, 65174);
}

struct TInstallerCase {
    const char* Name;
    const char* Options; // before /D=, which must come last
    const char* Module;
    const wchar_t* Step;
    bool Pages; // run with its pages, not silently
};

} // namespace

#ifdef ATTENTE_EXAMPLE_INSTALLER
// The NSIS recipe: started at once, switched and named right after, counted, closed by /CLOSE; with
// its pages (the directory page's Install clicked) and silently.
TEST(ExampleInstaller, ShowsTheStatusWindowInItsOwnLanguageAndClosesIt) {
    const TInstallerCase cases[] = {
        {"German installer with its pages", "/LANG=1031", "DE", L"Dateien werden kopiert...", true},
        {"German installer", "/S /LANG=1031", "DE", L"Dateien werden kopiert...", false},
        {"English installer", "/S /LANG=1033", "ENU", L"Copying files...", false},
        // The automatic choice follows this French system; French is the program's built-in language.
        {"automatic choice", "/S", nullptr, L"Copie des fichiers...", false},
    };
    for (const TInstallerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        folder.Copy(WindowsForm(ATTENTE_EXAMPLE_INSTALLER), "example.exe");
        const std::string installDir = folder.File("My Product");
        const std::string exe = folder.File("example.exe");
        TChildProcess installer(exe, "\"" + exe + "\" " + c.Options + " /D=" + installDir);
        if (c.Pages) {
            const HWND pages = WaitForWindow(installer, L"#32770");
            ASSERT_NE(pages, nullptr) << installer.Describe();
            for (const TDeadline deadline; !IsWindowEnabled(GetDlgItem(pages, IDOK)) && !deadline.Passed();)
                Sleep(kPollMs);
            PostMessageW(GetDlgItem(pages, IDOK), BM_CLICK, 0, 0); // Install, on the directory page
        }
        const std::wstring step = std::wstring(c.Step) + L"\r\n" + attente::Utf8ToWide(installDir);
        const std::vector<std::string> progress = {"0/3", "1/3", "2/3", "3/3"};
        if (c.Module)
            ExpectRecipeRun(installer, installDir + "\\attente.exe", {kFrench, DistStatusText(c.Module), step},
                            progress, c.Pages);
        else
            ExpectRecipeRun(installer, installDir + "\\attente.exe", {kFrench, step}, progress, c.Pages);
        if (HasFailure()) break; // each case may take the whole limit of a run
    }
}
#endif

#ifdef ATTENTE_EXAMPLE_SCRIPT
// The cmd recipe on a Russian system (the script is in its console code page, 866): the window runs
// the script as its job, follows its switch and three steps, and is closed by it.
TEST(ExampleScript, RunsAsTheWindowsJobOnARussianSystem) {
    if (GetACP() != 1251) GTEST_SKIP() << "registered for a Russian system";
    std::string recipe;
    {
        FILE* file = std::fopen(WindowsForm(ATTENTE_EXAMPLE_SCRIPT).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            recipe.append(buffer, n);
        std::fclose(file);
    }
    const std::string lastLine = "exit /b 0";
    ASSERT_NE(recipe.rfind(lastLine), std::string::npos);
    const struct {
        const char* name;
        const char* jobEnd; // replaces the job's last line
        DWORD exitCode;     // of the script, as of the program
    } cases[] = {
        {"a job that succeeds", "exit /b 0", 0},
        {"a job that fails", "exit /b 7", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder folder;
        folder.MakeFolder("My Product");
        for (const char* extension : {"exe", "RU", "DE", "ENU", "ENG"})
            folder.Copy(DistFolder() + "\\attente." + extension, std::string("My Product\\attente.") + extension);
        std::string script = recipe;
        script.replace(script.rfind(lastLine), lastLine.size(), c.jobEnd);
        folder.Write("My Product\\install.cmd", script);
        const std::string dir = folder.File("My Product");
        TChildProcess run("C:\\windows\\system32\\cmd.exe", "cmd.exe /c \"\"" + dir + "\\install.cmd\"\"");
        ExpectRecipeRun(run, dir + "\\attente.exe",
                        {DistStatusText("RU"), DistStatusText("DE"),
                         L"Copying files into\r\n" + attente::Utf8ToWide(dir) + L"\\",
                         L"\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430 "
                         L"\u043a\u043e\u043c\u043f\u043e\u043d\u0435\u043d\u0442\u043e\u0432...",
                         L"Finishing"},
                        {"0/3", "1/3", "2/3", "3/3"}, false, c.exitCode);
    }
}
#endif

#ifdef ATTENTE_EXAMPLE_PACKAGE
// The Windows Installer recipe, installed silently by msiexec into a folder with a space, then removed.
TEST(ExamplePackage, CustomActionsShowNameAndCloseTheWindow) {
    TTempFolder folder;
    const std::string msi = folder.File("example.msi");
    folder.Copy(WindowsForm(ATTENTE_EXAMPLE_PACKAGE), "example.msi");
    const std::string dir = folder.File("My Product");
    const std::string msiexec = "C:\\windows\\system32\\msiexec.exe";
    const std::string remove = "msiexec.exe /x \"" + msi + "\" /qn";
    TChildProcess install(msiexec, "msiexec.exe /i \"" + msi + "\" /qn \"INSTALLDIR=" + dir + "\"");
    ExpectRecipeRun(install, dir + "\\attente.exe",
                    {kFrench, DistStatusText("DE"),
                     L"Registering the product in\r\n" + attente::Utf8ToWide(dir) + L"\\"},
                    {"0/2", "1/2", "2/2"});
    EXPECT_NE(GetFileAttributesA((dir + "\\attente.DE").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TChildProcess(msiexec, remove).Wait(), 0u);
}
#endif
