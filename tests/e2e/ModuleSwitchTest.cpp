// A language switch handed straight to the open window, as a relay hands it over (WM_COPYDATA): a
// module the window cannot be reloaded from leaves it exactly as it was, without a box, and gets a
// reply of its own at once; a sound module is carried out.
#include "StatusProgram.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace attente::test;

namespace {

constexpr ULONG_PTR kLanguageRequest = 0x41540001;
constexpr ULONG_PTR kStatusRequest = 0x41540002;
constexpr LRESULT kCarriedOut = TRUE;
constexpr LRESULT kModuleUnusable = 2;
constexpr UINT kReplyWithinMs = 1000;
const std::wstring kFrenchStatus = L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...";
const std::wstring kGermanStatus = L"Informationen werden aktualisiert\r\n\r\nBitte warten...";

// The window's reply, or -1 when none came within the time.
LRESULT Request(HWND window, ULONG_PTR kind, const std::wstring& text) {
    COPYDATASTRUCT data{kind, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(text.data())};
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kReplyWithinMs, &reply))
        return -1;
    return static_cast<LRESULT>(reply);
}

BOOL CALLBACK CountBoxes(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<std::pair<DWORD, int>*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (pid == search->first && std::wstring(name) == L"#32770") ++search->second;
    return TRUE;
}

int BoxesOf(DWORD pid) {
    std::pair<DWORD, int> search{pid, 0};
    EnumWindows(CountBoxes, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

} // namespace

TEST(ModuleSwitch, AModuleTheWindowCannotBeReloadedFromChangesNothing) {
    struct {
        const char* module; // a test module's name, or a shipped module's extension
        bool testModule;
        LRESULT reply;
        const std::wstring& shown;
    } const rows[] = {
        // Unknown to the clock: the reload would fail after the caption was replaced.
        {"UnknownClockProperty", true, kModuleUnusable, kFrenchStatus},
        // A component the open window lacks ("Ancestor of 'Extra' not found").
        {"ExtraComponent", true, kModuleUnusable, kFrenchStatus},
        {"DE", false, kCarriedOut, kGermanStatus},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.module);
        TInstallFolder folder;
        if (row.testModule)
            folder.AddTestModule(row.module, "setup.DE");
        else
            folder.AddDistModule(row.module, "setup.DE");
        TChildProcess program = folder.Start();
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RECT before{}, after{};
        GetWindowRect(window, &before);
        const TStatusWindow shownBefore = ReadStatusWindow(window);
        ASSERT_EQ(shownBefore.Label.Text, kFrenchStatus);

        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(Request(window, kLanguageRequest, L"DEU"), row.reply);
        EXPECT_LT(GetTickCount64() - start, kReplyWithinMs);

        ASSERT_EQ(FindStatusWindowOfImage(folder.Exe()), window) << "the window was made anew";
        GetWindowRect(window, &after);
        EXPECT_TRUE(EqualRect(&before, &after));
        const TStatusWindow shownAfter = ReadStatusWindow(window);
        EXPECT_EQ(shownAfter.Label.Window, shownBefore.Label.Window);
        EXPECT_EQ(shownAfter.Label.Text, row.shown);
        EXPECT_EQ(IsWindowVisible(shownAfter.Clock.Window), FALSE);
        EXPECT_TRUE(WaitForWholeBorder(window));
        EXPECT_EQ(BoxesOf(program.ProcessId()), 0);
        // An empty status gives back the installed module's own text: the language in use.
        EXPECT_EQ(Request(window, kStatusRequest, L""), kCarriedOut);
        EXPECT_EQ(ReadStatusWindow(window).Label.Text, row.shown);
        CloseAndExpectExit(program, window, 0);
    }
}
