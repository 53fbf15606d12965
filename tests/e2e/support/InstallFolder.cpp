// The install-folder fixture shared by the end-to-end tests.
#include "InstallFolder.h"

#include <gtest/gtest.h>

namespace attente::test {

namespace {

constexpr int kLabelMinWidth = 100;
constexpr int kVisibleAttempts = 400;
constexpr DWORD kPollMs = 50;
constexpr UINT kSyncTimeoutMs = 5000;

} // namespace

TInstallFolder::TInstallFolder() {
    Copy(DistFolder() + "\\attente.exe", "setup.exe");
}

void TInstallFolder::AddDistModule(const std::string& extension, const std::string& as) const {
    Copy(DistFolder() + "\\attente." + extension, as);
}

void TInstallFolder::AddTestModule(const std::string& name, const std::string& as) const {
    Copy(WindowsForm(ATTENTE_TEST_MODULE_DIR) + "\\" + name + ".mod", as);
}

TChildProcess TInstallFolder::Start(const std::string& arguments) const {
    return TChildProcess(Exe(), "\"" + Exe() + "\"" + (arguments.empty() ? "" : " " + arguments));
}

TStatusWindow ReadStatusWindow(HWND window) {
    TStatusWindow status;
    status.Window = window;
    for (const TChildWindow& child : ChildWindows(window)) {
        const int width = child.Rect.right - child.Rect.left;
        if (width > kLabelMinWidth)
            status.Label = child;
        else
            status.Clock = child;
    }
    return status;
}

HWND WaitForStatusWindow(const TChildProcess& program, const wchar_t* className) {
    const HWND window = WaitForWindow(program, className);
    if (!window) return nullptr;
    for (int attempt = 0; attempt < kVisibleAttempts && !IsWindowVisible(window); ++attempt)
        Sleep(kPollMs);
    if (!IsWindowVisible(window)) return nullptr;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, kSyncTimeoutMs, &ignored);
    return window;
}

void CloseAndExpectExit(TChildProcess& program, HWND window, DWORD expected) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.Wait(), expected);
}

} // namespace attente::test
