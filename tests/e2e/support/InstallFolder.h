// The program as an installer ships it: setup.exe (the built exe) in a scratch folder with the
// modules a case puts beside it, started as a real process, and its status window once it is up.
#pragma once

#include "ChildProcess.h"
#include "TempFolder.h"
#include "WindowReading.h"

#include <windows.h>

#include <string>

namespace attente::test {

constexpr wchar_t kStatusWindowClass[] = L"TForm1";

class TInstallFolder : public TTempFolder {
  public:
    TInstallFolder();
    std::string Exe() const { return File("setup.exe"); }
    // A module of the distribution (by extension) or of the e2e test modules (by name), copied as `as`.
    void AddDistModule(const std::string& extension, const std::string& as) const;
    void AddTestModule(const std::string& name, const std::string& as) const;
    TChildProcess Start(const std::string& arguments = "") const;
};

struct TStatusWindow {
    HWND Window = nullptr;
    TChildWindow Label;
    TChildWindow Clock;
};

// The label is the child with text or the wider one; the clock is the 32-pixel picture.
TStatusWindow ReadStatusWindow(HWND window);

// The status window once it is shown and its thread has handled what came before: the window exists
// hidden while its descriptions are read. Null when none appears.
HWND WaitForStatusWindow(const TChildProcess& program, const wchar_t* className = kStatusWindowClass);

void CloseAndExpectExit(TChildProcess& program, HWND window, DWORD expected = 0);

} // namespace attente::test
