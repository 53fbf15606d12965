// The status window as an installer and its user meet it: the real program started from a folder of
// its own, its window found by process, its texts, pixels, notification and endings checked.
#include "ChildProcess.h"
#include "Handles.h"
#include "ModuleLayout.h"
#include "RegistryLock.h"
#include "StatusProgram.h"
#include "TempFolder.h"
#include "TextFormat.h"
#include "WindowReading.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace attente::test;

namespace {

const std::wstring kFrenchStatus = L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...";
const std::wstring kGermanStatus = L"Informationen werden aktualisiert\r\n\r\nBitte warten...";
constexpr char kStaticClass[] = "Static";

// The id of the process running `image` once its status window is up, 0 when none appears.
DWORD WaitForProcessWithImage(const std::string& image) {
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (const HWND window = FindStatusWindowOfImage(image)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner;
        }
        Sleep(50);
    }
    return 0;
}

// A shown top-level window of that class in the process, null when none appears.
HWND WaitForWindowOfProcess(DWORD process, const wchar_t* className) {
    for (int attempt = 0; attempt < 400; ++attempt, Sleep(50))
        for (HWND w = FindWindowW(className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process && IsWindowVisible(w)) return w;
        }
    return nullptr;
}

// The most threads the process had at any look over `ms` milliseconds.
int MostThreadsWithin(DWORD process, int ms) {
    int most = 0;
    for (int waited = 0; waited <= ms; waited += 50, Sleep(50)) {
        attente::TFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        int count = 0;
        for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
             more = Thread32Next(snapshot.Get(), &entry))
            if (entry.th32OwnerProcessID == process) ++count;
        most = std::max(most, count);
    }
    return most;
}

} // namespace

TEST(StatusWindow, ShowsTheBuiltInFrenchTextCentredAtItsDesignSize) {
    TInstallFolder folder;
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();

    RECT client{}, outer{};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);
    // Borderless: the window is its client area.
    EXPECT_EQ(outer.right - outer.left, kClientWidth);
    EXPECT_EQ(outer.bottom - outer.top, kClientHeight);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(outer.left + (outer.right - outer.left) / 2, screenWidth / 2, 1);
    EXPECT_NEAR(outer.top + (outer.bottom - outer.top) / 2, screenHeight / 2, 1);

    const TStatusWindow status = ReadStatusWindow(window);
    EXPECT_EQ(status.Label.ClassName, kStaticClass);
    EXPECT_EQ(status.Label.Text, kFrenchStatus);
    EXPECT_TRUE(status.Label.Visible);
    ASSERT_NE(status.Clock.Window, nullptr);
    EXPECT_FALSE(status.Clock.Visible);

    CloseAndExpectExit(program, window);
}

TEST(StatusWindow, CraftedModulesReadAsTheirFilesSay) {
    struct TCase {
        const char* What;
        std::string (*Craft)(const std::string&);
        const char* As;
        const char* Arguments;
    };
    // The French system's own abbreviation names the module chosen at start-up.
    const TCase cases[] = {
        {"data beyond the image, by the switch", DataBeyondImage, "setup.DEU", "/L=DEU"},
        {"data beyond the image, at start-up", DataBeyondImage, "setup.FRA", ""},
        {"virtual size shrunk, by the switch", ShrunkVirtualSize, "setup.DEU", "/L=DEU"},
        {"virtual size shrunk, at start-up", ShrunkVirtualSize, "setup.FRA", ""},
    };
    std::ifstream in(DistFolder() + "\\attente.DE", std::ios::binary);
    const std::string german{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TRegistryLock registry;
        TInstallFolder folder;
        const std::string crafted = c.Craft(german);
        ASSERT_FALSE(crafted.empty());
        folder.Write(c.As, crafted);
        TChildProcess program = folder.Start(c.Arguments);
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        EXPECT_EQ(ReadStatusWindow(window).Label.Text, kGermanStatus);
        CloseAndExpectExit(program, window);
    }
}

TEST(StatusWindow, ModuleThatDoesNotNameItsLanguageShowsTheClock) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddTestModule("NoLanguageId", "setup.DEU");
    TChildProcess program = folder.Start("/L=DEU");
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    const TStatusWindow status = ReadStatusWindow(window);
    EXPECT_FALSE(status.Label.Visible);
    EXPECT_TRUE(status.Clock.Visible);
    CloseAndExpectExit(program, window);
}

TEST(StatusWindow, ModuleStatusTextIsShownAsTheProgramReadsIt) {
    TRegistryLock registry;
    const struct {
        const char* module;
        std::wstring shown;
    } rows[] = {
        {"NoStatusText", L""},
        // 1024 units: the program reads resource strings to 1023.
        {"LongStatusText", std::wstring(1023, L'x')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.module);
        TInstallFolder folder;
        folder.AddTestModule(row.module, "setup.DEU");
        TChildProcess program = folder.Start("/L=DEU");
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        const TStatusWindow status = ReadStatusWindow(window);
        EXPECT_TRUE(status.Label.Visible);
        EXPECT_EQ(status.Label.Text, row.shown);
        EXPECT_FALSE(status.Clock.Visible);
        CloseAndExpectExit(program, window);
    }
}

TEST(StatusWindow, GermanModuleFromTheSwitchOnAFrenchSystem) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DE");
    TChildProcess program = folder.Start("/L=DEU");
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    EXPECT_EQ(ReadStatusWindow(window).Label.Text, kGermanStatus);
    CloseAndExpectExit(program, window);
}

TEST(StatusWindow, DrawsItsBorderAndBevelOnEveryPaint) {
    TInstallFolder folder;
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RepaintNow(window);

    const std::vector<TExpectedPixel> pixels = BorderAndBevelPixels();
    const int right = kClientWidth - 1, bottom = kClientHeight - 1;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_TRUE(WaitForWholeBorder(window));
        const TScreenPixels shot(window);
        ASSERT_EQ(shot.Width(), kClientWidth);
        for (const TExpectedPixel& p : pixels)
            EXPECT_EQ(shot.Pixel(p.X, p.Y), p.Colour) << "at " << p.X << "," << p.Y;
        // Inside the bevel: the button face.
        EXPECT_EQ(shot.Pixel(3, 3), face);
        EXPECT_EQ(shot.Pixel(right - 3, bottom - 3), face);
    };
    check("first paint");

    // Cover the window with one of ours, uncover it, and have it repaint.
    const HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                       nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    UpdateWindow(cover);
    DestroyWindow(cover);
    RepaintNow(window);
    check("after being covered and repainted");

    CloseAndExpectExit(program, window);
}

TEST(StatusWindow, RunSwitchEndsWithTheCommandsExitCode) {
    TInstallFolder folder;
    TChildProcess program = folder.Start("\"/RUN=cmd.exe /c exit 3\"");
    EXPECT_EQ(program.Wait(), 3u) << program.Output();
}

TEST(StatusWindow, RunSwitchCommandKeepsTheWindowUpWhileItRuns) {
    TInstallFolder folder;
    // ping waits about a second per extra echo; the window must be there meanwhile.
    TChildProcess program = folder.Start("\"/RUN=cmd.exe /c ping -n 3 127.0.0.1 >NUL & exit 5\"");
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    EXPECT_EQ(ReadStatusWindow(window).Label.Text, kFrenchStatus);
    // The command and the starting process are followed by the window's own thread, no other.
    EXPECT_EQ(MostThreadsWithin(program.ProcessId(), 1000), 1);
    EXPECT_EQ(program.Wait(), 5u);
}

TEST(StatusWindow, RunSwitchWithACommandThatCannotStartReportsAndExits127) {
    TInstallFolder folder;
    TChildProcess program = folder.Start("\"/RUN=" + folder.File("missing.exe") + "\"");
    const HWND box = WaitForStatusWindow(program, L"#32770");
    ASSERT_NE(box, nullptr) << program.Output();
    bool namesTheCommand = false;
    for (const TChildWindow& child : ChildWindows(box))
        if (child.Text.find(L"missing.exe") != std::wstring::npos) namesTheCommand = true;
    EXPECT_TRUE(namesTheCommand);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.Wait(), 127u);
}

// Where the process's exe image lies; 0 when it cannot be seen.
std::uintptr_t ImageBaseOf(DWORD process) {
    const attente::TFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!snapshot || !Module32FirstW(snapshot.Get(), &entry)) return 0;
    return reinterpret_cast<std::uintptr_t>(entry.modBaseAddr);
}

// The exe as built and the same exe linked for another base, as ASLR places it on Windows: the box
// names the same code position for the same fault wherever the image lies.
TEST(StatusWindow, ModuleWithoutTheDescriptionEndsStartUpWithItsOwnErrorBoxAndCode1) {
    constexpr std::uintptr_t kBuiltBase = 0x00400000;
    constexpr std::uintptr_t kOtherBase = 0x10000000;
    const wchar_t kPositionBefore[] = L"Ausnahme EResNotFound in setup.exe bei ";
    constexpr std::size_t kPositionDigits = 8;
    std::ifstream in(DistFolder() + "\\attente.exe", std::ios::binary);
    const std::string built{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::wstring firstPosition;
    for (const std::uintptr_t base : {kBuiltBase, kOtherBase}) {
        SCOPED_TRACE(base);
        TRegistryLock registry;
        TInstallFolder folder;
        if (base != kBuiltBase) {
            const std::string moved = RebasedImage(built, static_cast<std::uint32_t>(base));
            ASSERT_FALSE(moved.empty());
            folder.Write("setup.exe", moved);
        }
        folder.AddTestModule("NoDescription", "setup.DEU");
        TChildProcess program = folder.Start("/L=DEU");
        const HWND box = WaitForStatusWindow(program, L"#32770");
        ASSERT_NE(box, nullptr) << program.Output();
        EXPECT_EQ(ImageBaseOf(program.ProcessId()), base);
        EXPECT_EQ(WindowText(box), L"Testfehler");
        std::wstring text;
        for (const TChildWindow& child : ChildWindows(box))
            text += child.Text + L"\n";
        const std::size_t at = text.find(kPositionBefore);
        EXPECT_NE(at, std::wstring::npos) << attente::WideToUtf8(text);
        EXPECT_NE(text.find(L"Ressource TForm1 fehlt."), std::wstring::npos) << attente::WideToUtf8(text);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(program.Wait(), 1u);
        if (at == std::wstring::npos) continue;
        const std::wstring position = text.substr(at + std::size(kPositionBefore) - 1, kPositionDigits);
        if (firstPosition.empty())
            firstPosition = position;
        else
            EXPECT_EQ(position, firstPosition);
    }
}

TEST(StatusWindow, ClosesWhenTheProcessThatStartedItEnds) {
    struct {
        const char* name;
        std::string arguments;
        const wchar_t* shown; // the class of the window up when the starter ends
        DWORD exitCode;
    } const rows[] = {
        {"window", "", kWindowClass, 0},
        // Its error box is up, and waits for the starter as the loop would.
        {"error box", "\"/RUN=missing.exe\"", L"#32770", 127},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TInstallFolder folder;
        const std::string release = "AttenteTestRelease" + std::to_string(GetCurrentProcessId());
        const attente::TKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, release.c_str()));
        ASSERT_TRUE(event);
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        TChildProcess starter(self, std::string("\"") + self + "\" --start-and-wait \"" + folder.Exe() +
                                        "\" " + release + " " + row.arguments);

        const DWORD pid = WaitForProcessWithImage(folder.Exe());
        ASSERT_NE(pid, 0u) << starter.Output();
        const attente::TKernelHandle program(
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        ASSERT_TRUE(program);
        EXPECT_NE(WaitForWindowOfProcess(pid, row.shown), nullptr);
        EXPECT_EQ(WaitForSingleObject(program.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
            << "ended with its parent alive";

        SetEvent(event.Get());
        EXPECT_EQ(starter.Wait(), 0u);
        ASSERT_EQ(WaitForSingleObject(program.Get(), 20000), WAIT_OBJECT_0)
            << "outlived the process that started it";
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(program.Get(), &code);
        EXPECT_EQ(code, row.exitCode);
    }
}

// The starter role: starts the program, waits for the test's signal, then ends.
int StartAndWait(const char* exe, const char* release, const char* arguments) {
    const attente::TKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, release));
    std::string commandLine = std::string("\"") + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return 2;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return WaitForSingleObject(event.Get(), 60000) == WAIT_OBJECT_0 ? 0 : 3;
}

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--start-and-wait") == 0)
        return StartAndWait(argv[2], argv[3], argc > 4 ? argv[4] : "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
