// The status window as a GUI installer's user meets it: over the installer's window without taking
// its focus, above it after a click, not above a program the user switches to; and its progress
// bar in each form, kept across a switch, announced once per request.
#include "Form1Layout.h"
#include "StatusProgram.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace attente::test;

namespace {

constexpr DWORD kMalformedExitCode = 3;
constexpr wchar_t kInstallerClass[] = L"AttenteTestInstaller";
// While progress shows, the window leaves under the bar the room it leaves under the label.
constexpr int kGrownHeight = kForm1_Progress_Top + kForm1_Progress_Height + kForm1_ClientHeight -
                             kForm1_LabWait_Top - kForm1_LabWait_Height;

struct TEvent {
    DWORD Event;
    HWND Window;
    LONG Object;
};
std::vector<TEvent> gEvents;
DWORD gWatchedProcess = 0;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == gWatchedProcess) gEvents.push_back({event, window, object});
}

RECT RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

HWND ProgressBarOf(HWND status) {
    for (const TChildWindow& child : ChildWindows(status))
        if (child.ClassName == "msctls_progress32") return child.Window;
    return nullptr;
}

void Click(POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    PumpFor(300);
}

// A GUI installer (support/ScriptedInstaller.c with a window) at `place` that starts setup.exe with
// `arguments`.
std::string InstallerScript(const TInstallFolder& folder, RECT place, const std::string& arguments) {
    folder.Write("installer.txt", "window " + std::to_string(place.left) + " " + std::to_string(place.top) + " " +
                                      std::to_string(place.right - place.left) + " " +
                                      std::to_string(place.bottom - place.top) + "\nstart \"" + folder.Exe() +
                                      "\" " + arguments + "\n");
    return folder.File("installer.txt");
}

struct TInstallerRun {
    TChildProcess Installer;
    HWND InstallerWindow = nullptr;
    HWND Status = nullptr;
    TInstallerRun(const TInstallFolder& folder, RECT place, const std::string& arguments)
        : Installer(WindowsForm(ATTENTE_SCRIPTED_INSTALLER),
                    "installer.exe \"" + InstallerScript(folder, place, arguments) + "\"") {
        InstallerWindow = WaitForWindow(Installer, kInstallerClass);
        for (const TDeadline deadline; !Status && !deadline.Passed(); Sleep(20))
            Status = FindStatusWindowOfImage(folder.Exe());
        Sleep(300); // the status window's start notification has run
    }
    // The status window goes with its installer.
    ~TInstallerRun() {
        if (IsWindow(InstallerWindow)) PostMessageW(InstallerWindow, WM_CLOSE, 0, 0);
        Installer.Wait();
        for (const TDeadline deadline; IsWindow(Status) && !deadline.Passed(); Sleep(20)) {
        }
        EXPECT_FALSE(IsWindow(Status)) << "the status window outlived its installer";
    }
};

std::string Named(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return attente::WideToUtf8(name) + " of process " + std::to_string(process);
}

// The shown top-level windows, topmost first.
std::string ZOrder() {
    std::string order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        order += "\n  " + Named(w) + (IsWindowVisible(w) ? "" : " (hidden)") +
                 ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) ? " (topmost)" : "");
    return order;
}

// What the installer's user must still have: the front and the keyboard focus on its button.
void ExpectInstallerKeepsTheFocus(const TInstallerRun& run) {
    EXPECT_EQ(GetForegroundWindow(), run.InstallerWindow) << Named(GetForegroundWindow());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(run.InstallerWindow, nullptr), &info));
    EXPECT_EQ(info.hwndFocus, GetDlgItem(run.InstallerWindow, 1));
    EXPECT_EQ(info.hwndActive, run.InstallerWindow);
}

} // namespace

TEST(InstallerWindow, StatusWindowSitsOverItAboveAClickAndBelowAnotherProgram) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* name;
        RECT place;
        const char* arguments;
        bool topmost;
    } cases[] = {
        {"centred over it", {120, 90, 620, 470}, "/L=AUTO /ID=setup", false},
        // Centred over a window whose middle is near the screen's corner, it is kept on the screen.
        {"kept on its monitor", {screenWidth - 150, screenHeight - 60, screenWidth, screenHeight},
         "/L=AUTO /ID=setup", false},
        {"/TOPMOST", {120, 90, 620, 470}, "/L=AUTO /TOPMOST /ID=setup", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TInstallFolder folder;
        TInstallerRun run(folder, c.place, c.arguments);
        ASSERT_NE(run.InstallerWindow, nullptr) << run.Installer.Describe();
        ASSERT_NE(run.Status, nullptr) << run.Installer.Describe();

        const RECT installer = RectOf(run.InstallerWindow), status = RectOf(run.Status);
        EXPECT_EQ(status.right - status.left, kClientWidth);
        if (c.place.right < screenWidth) {
            EXPECT_NEAR((status.left + status.right) / 2, (installer.left + installer.right) / 2, 1);
            EXPECT_NEAR((status.top + status.bottom) / 2, (installer.top + installer.bottom) / 2, 1);
        } else {
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            EXPECT_EQ(status.right, work.right);
            EXPECT_EQ(status.bottom, work.bottom);
        }
        // In front of everything while the installer's window is in front, with or without /TOPMOST.
        EXPECT_NE(GetWindowLongW(run.Status, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        EXPECT_TRUE(IsAbove(run.Status, run.InstallerWindow));
        ExpectInstallerKeepsTheFocus(run);

        // A click on the installer's window beside the status window, and one on the status window.
        if (c.place.right < screenWidth) {
            Click({installer.left + 40, installer.top + 60});
            EXPECT_TRUE(IsAbove(run.Status, run.InstallerWindow));
            ExpectInstallerKeepsTheFocus(run);
        }
        Click({(status.left + status.right) / 2, (status.top + status.bottom) / 2});
        EXPECT_TRUE(IsAbove(run.Status, run.InstallerWindow));
        ExpectInstallerKeepsTheFocus(run);

        // Requests do not take the focus either (sent from here, not the installer: by the window's name).
        EXPECT_EQ(Relay(folder.Exe(), "/ID=setup /PROGRESS=1/3 \"/STATUS=Step one\""), 0u);
        ExpectInstallerKeepsTheFocus(run);

        // Another program comes to the front: the status window goes under it, still over the installer.
        const HWND other = CreateWindowExW(0, L"STATIC", L"other program", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                           300, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        PumpFor(600); // the status window looks at the front five times a second
        ASSERT_EQ(GetForegroundWindow(), other);
        EXPECT_EQ(IsAbove(other, run.Status), !c.topmost) << ZOrder();
        EXPECT_TRUE(IsAbove(run.Status, run.InstallerWindow));
        DestroyWindow(other);
        SetForegroundWindow(run.InstallerWindow);
        PumpFor(600);
        EXPECT_TRUE(IsAbove(run.Status, run.InstallerWindow));
    }
}

TEST(Progress, EachFormInTheBarKeptAcrossASwitchAndAnnouncedOnce) {
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DEU");
    TChildProcess program = folder.Start();
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    gWatchedProcess = program.ProcessId();
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                               Record, 0, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    const struct {
        const char* switches;
        DWORD exitCode;
        int position, range; // range 0: busy; -1: hidden
        int nameChanges, valueChanges;
    } steps[] = {
        {"/PROGRESS=40", 0, 40, 100, 0, 1},
        {"/PROGRESS=3/10", 0, 3, 10, 0, 1},
        {"/PROGRESS=3/10", 0, 3, 10, 0, 0}, // the same again changes nothing
        {"/PROGRESS=101", kMalformedExitCode, 3, 10, 0, 0},
        {"\"/STATUS=Copying\" /PROGRESS=x", kMalformedExitCode, 3, 10, 0, 0}, // all or nothing
        {"\"/STATUS=Copying\"", 0, 3, 10, 1, 0},
        {"/SWITCH=DEU", 0, 3, 10, 0, 0}, // the installer's words and the progress stay
        {"/STATUS=", 0, 3, 10, 1, 0},
        {"/PROGRESS=BUSY", 0, 0, 0, 0, 0},
        {"/PROGRESS=7/7", 0, 7, 7, 0, 1},
        {"/PROGRESS=", 0, 0, -1, 0, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.switches);
        gEvents.clear();
        EXPECT_EQ(Relay(folder.Exe(), step.switches), step.exitCode);
        PumpFor(300); // events raised last are on their way
        const HWND bar = ProgressBarOf(window);
        const bool shown = step.range >= 0;
        ASSERT_EQ(bar && IsWindowVisible(bar), shown);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.bottom, shown ? kGrownHeight : kClientHeight);
        EXPECT_TRUE(WaitForWholeBorder(window, client.bottom));
        int names = 0, values = 0;
        for (const TEvent& e : gEvents) {
            names += e.Event == EVENT_OBJECT_NAMECHANGE && e.Object == OBJID_CLIENT;
            values += e.Event == EVENT_OBJECT_VALUECHANGE && e.Object == OBJID_CLIENT && e.Window == bar;
        }
        EXPECT_EQ(names, step.nameChanges);
        EXPECT_EQ(values, step.valueChanges);
        if (!shown) continue;
        const bool busy = step.range == 0;
        EXPECT_EQ((GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE) != 0, busy);
        if (busy) continue;
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), step.position);
        EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), step.range);
        // The filled part is drawn from the left: a pixel inside it differs from one beyond it.
        RECT r = RectOf(bar);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        const TScreenPixels shot(window);
        const int y = (r.top + r.bottom) / 2, width = r.right - r.left - 4;
        const int filled = r.left + 2 + width * step.position / step.range;
        if (step.position < step.range) EXPECT_NE(shot.Pixel(r.left + 3, y), shot.Pixel(r.right - 3, y));
        EXPECT_EQ(shot.Pixel(r.left + 3, y), shot.Pixel(filled - 2, y)) << "filled up to x=" << filled;
    }
    UnhookWinEvent(hook);
    CloseAndExpectExit(program, window);
}

TEST(Progress, AStartTakesItsFirstValuesOrRefusesAMalformedOne) {
    TInstallFolder folder;
    {
        TChildProcess program = folder.Start("/L=AUTO /PROGRESS=2/5 \"/STATUS=Preparing\"");
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        const HWND bar = ProgressBarOf(window);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 2);
        EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 5);
        EXPECT_EQ(ReadStatusWindow(window).Label.Text, L"Preparing");
        EXPECT_EQ(RectOf(window).bottom - RectOf(window).top, kGrownHeight);
        CloseAndExpectExit(program, window);
    }
    TChildProcess refused = folder.Start("/L=AUTO /PROGRESS=12/10");
    EXPECT_EQ(refused.Wait(), kMalformedExitCode);
    EXPECT_EQ(FindStatusWindowOfImage(folder.Exe()), nullptr);
}
