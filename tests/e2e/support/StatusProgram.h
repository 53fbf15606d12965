// The real program as the end-to-end tests start it: setup.exe in a folder of its own, its status
// window found, read and closed, and the pixels its border and bevel must have.
#pragma once

#include "ChildProcess.h"
#include "Form1Layout.h"
#include "TempFolder.h"
#include "WindowReading.h"

#include <windows.h>

#include <string>
#include <vector>

namespace attente::test {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr int kClientWidth = kForm1_ClientWidth;
constexpr int kClientHeight = kForm1_ClientHeight;

// setup.exe (the built exe) in a scratch folder, with whatever modules a case puts beside it. Paths
// and arguments are UTF-8.
class TInstallFolder : public TTempFolder {
  public:
    // `nameTail` ends the folder's name: a script, spaces or signs an installer's folder may hold.
    explicit TInstallFolder(const std::string& nameTail = "");
    std::string Exe() const { return File("setup.exe"); }
    void AddDistModule(const std::string& extension, const std::string& as) const;
    // A module that only the tests build (ATTENTE_TEST_MODULE_DIR), when the test exe has them.
    void AddTestModule(const std::string& name, const std::string& as) const;
    TChildProcess Start(const std::string& arguments = "") const { return StartAs(Exe(), arguments); }
    // Started through another spelling of the exe's path (its short form, say).
    TChildProcess StartAs(const std::string& exePath, const std::string& arguments) const;
};

struct TStatusWindow {
    HWND Window = nullptr;
    TChildWindow Label;
    TChildWindow Clock;
};

// A string of a module file as the platform reads it; empty when the file or string is missing.
std::wstring ModuleString(const std::string& path, UINT id);

// The label is the child with text or the wider one; the clock is the 32-pixel picture.
TStatusWindow ReadStatusWindow(HWND window);

// The status window once it is shown and its thread has handled what came before: the window exists
// hidden while its descriptions are read. Null when none appears.
HWND WaitForStatusWindow(const TChildProcess& program, const wchar_t* className = kWindowClass);

// The shown status window of the process running `image` (a full path), or null: one look, no wait.
HWND FindStatusWindowOfImage(const std::string& image);

void CloseAndExpectExit(TChildProcess& program, HWND window, DWORD expected = 0);

// Starts `exe` with `switches` (UTF-8) as a relaying start and gives its exit code, taking this
// thread's messages meanwhile (so that an event hook of the caller's is served).
DWORD Relay(const std::string& exe, const std::string& switches);
// Waits while this thread's windows and hooks take their messages.
void PumpFor(DWORD ms);
// Whether `upper` comes before `lower` in the z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower);

struct TExpectedPixel {
    int X, Y;
    COLORREF Colour;
};

// The one-pixel black outline and the two bevel rings: light left and top, shadow right and bottom.
std::vector<TExpectedPixel> BorderAndBevelPixels(int height = kClientHeight);

// Whether the border and bevel stand whole on the screen, given the window's process a moment to
// paint: WM_PAINT comes after every sent and posted message, so no round trip proves it has run.
bool WaitForWholeBorder(HWND window, int height = kClientHeight);

} // namespace attente::test
