// Starts a real child process with an exact raw command line, a chosen show state and extra
// environment variables, and collects its standard output and exit code.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace attente::test {

struct TChildOptions {
    std::vector<std::pair<std::string, std::string>> Environment; // added or replaced
    int ShowState = -1;                                           // -1: no STARTF_USESHOWWINDOW
    bool Utf8CommandLine = false; // the command line is UTF-8, passed to the wide CreateProcess
};

class TChildProcess {
  public:
    // `commandLine` is the whole raw command line, argument 0 included.
    TChildProcess(const std::string& exe, const std::string& commandLine, const TChildOptions& options = {});
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the end (ending the child if it outlives the test's patience) and reads all output.
    DWORD Wait();
    const std::string& Output() const { return output_; }
    bool Running() const;

  private:
    bool DrainOutput();

    PROCESS_INFORMATION info_ = {};
    HANDLE readEnd_ = nullptr;
    std::string output_;
    bool waited_ = false;
    DWORD exitCode_ = 0;
};

// Runs to the end; the output is parsed as the probe's NAME=hex lines.
struct TProbeResult {
    DWORD ExitCode = 0;
    std::map<std::string, std::string> Values;
    std::string Raw;
};
TProbeResult RunProbe(const std::string& exe, const std::string& commandLine,
                      const TChildOptions& options = {});

// Top-level windows of a process with the given class name, waiting for the first to appear; null
// when none appears while the process runs.
HWND WaitForWindow(const TChildProcess& child, const wchar_t* className);
std::wstring WindowText(HWND window);

struct TMessageBox {
    bool Found = false;
    std::wstring Title;
    std::wstring Text;
};

// Waits for a message box of the child, reads its title and text once it is shown, and dismisses it
// with OK; Found is false when none appeared while the child ran.
TMessageBox TakeMessageBox(const TChildProcess& child);

} // namespace attente::test
