// Starts a real child process with an exact raw command line, a chosen show state and extra
// environment variables, and collects its standard output and exit code.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace attente::test {

// Every wait of the test helpers gives up after this and fails with what it saw, well under the
// tests' ctest timeouts (120 s and more): a broken case reports, never times out.
constexpr DWORD kWaitLimitMs = 20000;

// The end of one wait, or of several waits that share a limit. Once a wait of a test has given up,
// the test's later deadlines are short: it fails already, and full waits could add up to the
// ctest timeout.
class TDeadline {
  public:
    explicit TDeadline(DWORD ms = kWaitLimitMs);
    bool Passed() const { return static_cast<int>(GetTickCount() - end_) > 0; }
    DWORD Remaining() const { return Passed() ? 0 : end_ - GetTickCount(); }
    DWORD Limit() const { return limit_; }
    // A wait of the running test gave up: fails it with what the wait saw.
    static void Overstayed(const std::string& seen);

  private:
    DWORD limit_;
    DWORD end_;
};

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
    // Waits for the end and reads all output; a child still running after kWaitLimitMs fails the
    // test with what it shows, and is ended.
    DWORD Wait();
    const std::string& Output() const { return output_; }
    bool Running() const;
    // What a failing wait reports: whether the child runs or how it ended, its top-level windows
    // with their controls' texts, and its output so far.
    std::string Describe() const;

  private:
    bool DrainOutput() const;

    std::string commandLine_;
    PROCESS_INFORMATION info_ = {};
    HANDLE readEnd_ = nullptr;
    mutable std::string output_; // read from the pipe whenever someone looks
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
// when the process ends without one, or (a failure that describes the child) when none appears
// before the deadline.
HWND WaitForWindow(const TChildProcess& child, const wchar_t* className,
                   const TDeadline& deadline = TDeadline());
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
