// The application object: owns the main window, shows it as the process was asked to start, runs the
// message loop until that window is destroyed, and shows the failures raised while messages are
// handled.
#pragma once

#include "Form.h"
#include "MessageErrors.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace attente {

class TApplication {
  public:
    // The one application of the process; Application points to it while it lives, and failures the
    // window framework catches in its window procedures come to its error box.
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The executable's file name without directory and extension.
    const std::wstring& Title() const { return title_; }

    // The main window's destruction ends the message loop.
    void SetMainForm(std::unique_ptr<TForm> form);
    TForm* MainForm() const { return mainForm_.get(); }

    // Shows the main window for `showState` (the show state the process was started with), then runs
    // the message loop until the main window is destroyed; returns the exit code: 0, or what
    // Terminate was given. Without a main window there is nothing to wait for and it returns at once.
    int Run(int showState);
    // Run's show state for a window that is never shown (/HIDDEN): it still takes requests.
    static constexpr int kNotShown = -1;

    // While the loop runs, `message` is posted to `window` once `handle` is signalled; then the handle
    // is no longer watched. The loop waits on it itself, so no thread is needed.
    void Watch(HANDLE handle, HWND window, UINT message);
    void StopWatching(HANDLE handle);
    // Posts the message of every watched handle already signalled, which is then no longer watched.
    void PostEnded() noexcept;

    // Ends the message loop from a handler: the main window is destroyed and Run returns `exitCode`.
    void Terminate(int exitCode);

    // Shows a failure raised while a message was handled in an error box titled with Title(); the
    // loop goes on afterwards.
    void ShowException(const std::exception& failure) noexcept;

  private:
    // A modal error box over `owner` whose loop still follows the watched handles.
    void BoxWhileWatching(HWND owner, const std::wstring& text) const;

    struct TWatch {
        HANDLE Handle;
        HWND Window;
        UINT Message;
    };

    // Waits for the next message or watched handle; false once the loop is to end.
    bool WaitForWork();

    std::wstring title_;
    std::vector<TWatch> watches_;
    std::unique_ptr<TForm> mainForm_;
    int exitCode_ = 0;
    TMessageExceptionHandler previousHandler_;
};

extern TApplication* Application;

// The show state from the process's start-up information, SW_SHOWNORMAL when none was given.
int StartupShowState();

} // namespace attente
