// Starting, finding and closing the real program for the end-to-end tests.
#include "StatusProgram.h"

#include "AsciiCase.h"
#include "Handles.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace attente::test {

namespace {

constexpr int kLabelMinWidth = 100;
constexpr DWORD kShownPollMs = 50;
constexpr UINT kSettleTimeoutMs = 5000;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);

} // namespace

TInstallFolder::TInstallFolder(const std::string& nameTail) : TTempFolder(nameTail) {
    Copy(DistFolder() + "\\attente.exe", "setup.exe");
}

void TInstallFolder::AddDistModule(const std::string& extension, const std::string& as) const {
    Copy(DistFolder() + "\\attente." + extension, as);
}

void TInstallFolder::AddTestModule(const std::string& name, const std::string& as) const {
#ifdef ATTENTE_TEST_MODULE_DIR
    Copy(WindowsForm(ATTENTE_TEST_MODULE_DIR) + "\\" + name + ".mod", as);
#else
    ADD_FAILURE() << "this test exe has no test modules: " << name << " as " << as;
#endif
}

TChildProcess TInstallFolder::StartAs(const std::string& exePath, const std::string& arguments) const {
    TChildOptions options;
    // The ANSI call would turn what the code page lacks into question marks.
    options.Utf8CommandLine = true;
    return TChildProcess(exePath, "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments),
                         options);
}

std::wstring ModuleString(const std::string& path, UINT id) {
    const TModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return {};
    wchar_t buffer[1024] = {};
    const int length = LoadStringW(module.Get(), id, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TStatusWindow ReadStatusWindow(HWND window) {
    TStatusWindow status;
    status.Window = window;
    for (const TChildWindow& child : ChildWindows(window)) {
        const int width = child.Rect.right - child.Rect.left;
        if (!EqualsIgnoringAsciiCase(child.ClassName, "Static")) continue; // the progress bar
        if (width > kLabelMinWidth)
            status.Label = child;
        else
            status.Clock = child;
    }
    return status;
}

HWND WaitForStatusWindow(const TChildProcess& program, const wchar_t* className) {
    const TDeadline deadline;
    const HWND window = WaitForWindow(program, className, deadline);
    if (!window) return nullptr;
    while (!IsWindowVisible(window) && IsWindow(window) && !deadline.Passed())
        Sleep(kShownPollMs);
    if (!IsWindowVisible(window)) {
        if (deadline.Passed())
            TDeadline::Overstayed("the " + WideToUtf8(className) +
                                  " window was never shown: " + program.Describe());
        return nullptr;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, kSettleTimeoutMs, &ignored))
        TDeadline::Overstayed("the window's thread answers no message: " + program.Describe());
    return window;
}

HWND FindStatusWindowOfImage(const std::string& image) {
    for (HWND w = FindWindowW(kWindowClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kWindowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        const TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner));
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        // A process may have been started through a short (8.3) form of its path.
        wchar_t longPath[MAX_PATH] = {};
        if (process && QueryFullProcessImageNameW(process.Get(), 0, path, &size) &&
            GetLongPathNameW(path, longPath, MAX_PATH) != 0 &&
            lstrcmpiW(longPath, Utf8ToWide(image).c_str()) == 0 && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

void CloseAndExpectExit(TChildProcess& program, HWND window, DWORD expected) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.Wait(), expected);
}

std::vector<TExpectedPixel> BorderAndBevelPixels(int height) {
    const int right = kClientWidth - 1, bottom = height - 1;
    const int middle = kClientWidth / 2, side = 30, top = 100;
    return {
        // The black outline on all four sides.
        {0, 0, kBlack},
        {right, 0, kBlack},
        {0, bottom, kBlack},
        {right, bottom, kBlack},
        {middle, 0, kBlack},
        {middle, bottom, kBlack},
        {0, side, kBlack},
        {right, side, kBlack},
        // Outer ring: light left and top, shadow right and bottom, shadow in the two odd corners.
        {1, 1, kWhite},
        {1, side, kWhite},
        {top, 1, kWhite},
        {right - 2, 1, kWhite},
        {right - 1, 1, kGrey},
        {right - 1, side, kGrey},
        {1, bottom - 1, kGrey},
        {top, bottom - 1, kGrey},
        {right - 1, bottom - 1, kGrey},
        // Inner ring, one pixel further in.
        {2, 2, kWhite},
        {2, side, kWhite},
        {top, 2, kWhite},
        {right - 3, 2, kWhite},
        {right - 2, 2, kGrey},
        {right - 2, side, kGrey},
        {2, bottom - 2, kGrey},
        {top, bottom - 2, kGrey},
    };
}

bool WaitForWholeBorder(HWND window, int height) {
    const std::vector<TExpectedPixel> pixels = BorderAndBevelPixels(height);
    std::string wrong;
    for (const TDeadline deadline; !deadline.Passed(); Sleep(kShownPollMs)) {
        const TScreenPixels shot(window);
        wrong.clear();
        for (const TExpectedPixel& p : pixels) {
            if (shot.Pixel(p.X, p.Y) == p.Colour) continue;
            char seen[64];
            std::snprintf(seen, sizeof seen, " (%d,%d) is %06lx, not %06lx;", p.X, p.Y,
                          static_cast<unsigned long>(shot.Pixel(p.X, p.Y)),
                          static_cast<unsigned long>(p.Colour));
            wrong += seen;
        }
        if (wrong.empty()) return true;
    }
    TDeadline::Overstayed("the border and bevel stayed broken, as BGR:" + wrong);
    return false;
}

DWORD Relay(const std::string& exe, const std::string& switches) {
    TChildOptions options;
    options.Utf8CommandLine = true;
    TChildProcess relay(exe, "\"" + exe + "\" " + switches, options);
    HANDLE process = relay.Handle();
    for (const TDeadline deadline; !deadline.Passed();) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (MsgWaitForMultipleObjects(1, &process, FALSE, deadline.Remaining(), QS_ALLINPUT) == WAIT_OBJECT_0) break;
    }
    return relay.Wait();
}

void PumpFor(DWORD ms) {
    for (const TDeadline deadline(ms); !deadline.Passed(); Sleep(10)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == upper) return true;
    return false;
}

} // namespace attente::test
