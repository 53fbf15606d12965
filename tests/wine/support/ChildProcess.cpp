// Child processes for the tests. A deadline keeps a hanging child from hanging the run and fails the
// test with what the child showed; it is a safety net, never what a test asserts.
#include "ChildProcess.h"

#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace attente::test {

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kAfterOverstayMs = 2000;
const testing::TestInfo* overstayedTest = nullptr;
constexpr UINT kEndedByTest = 0xDEAD;

std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::string block;
    char* own = GetEnvironmentStringsA();
    for (const char* p = own; *p != '\0'; p += std::strlen(p) + 1) {
        bool replaced = false;
        for (const auto& [name, value] : extra)
            if (_strnicmp(p, (name + "=").c_str(), name.size() + 1) == 0) replaced = true;
        if (!replaced) block.append(p).push_back('\0');
    }
    FreeEnvironmentStringsA(own);
    for (const auto& [name, value] : extra)
        block.append(name + "=" + value).push_back('\0');
    block.push_back('\0');
    return block;
}

int FromHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::map<std::string, std::string> ParseProbeLines(const std::string& output) {
    std::map<std::string, std::string> values;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string decoded;
        for (std::size_t i = equals + 1; i + 1 < line.size(); i += 2)
            decoded.push_back(static_cast<char>(FromHex(line[i]) * 16 + FromHex(line[i + 1])));
        values[line.substr(0, equals)] = decoded;
    }
    return values;
}

struct TFind {
    DWORD ProcessId;
    const wchar_t* ClassName;
    HWND Found;
};

std::string Quoted(HWND window) {
    return "\"" + attente::WideToUtf8(WindowText(window)) + "\"";
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct TDescription {
    DWORD ProcessId;
    std::string Text;
};

BOOL CALLBACK DescribeControl(HWND control, LPARAM param) {
    reinterpret_cast<TDescription*>(param)->Text += "\n    " + ClassOf(control) + " " + Quoted(control);
    return TRUE;
}

BOOL CALLBACK DescribeWindow(HWND window, LPARAM param) {
    TDescription* description = reinterpret_cast<TDescription*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != description->ProcessId) return TRUE;
    description->Text +=
        "\n  window " + ClassOf(window) + (IsWindowVisible(window) ? " shown " : " hidden ") + Quoted(window);
    EnumChildWindows(window, DescribeControl, param);
    return TRUE;
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    TFind* find = reinterpret_cast<TFind*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    if (process == find->ProcessId && std::wcscmp(className, find->ClassName) == 0) {
        find->Found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TDeadline::TDeadline(DWORD ms) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    if (test != nullptr && test == overstayedTest && ms > kAfterOverstayMs) ms = kAfterOverstayMs;
    limit_ = ms;
    end_ = GetTickCount() + ms;
}

void TDeadline::Overstayed(const std::string& seen) {
    overstayedTest = testing::UnitTest::GetInstance()->current_test_info();
    ADD_FAILURE() << seen;
}

TChildProcess::TChildProcess(const std::string& exe, const std::string& commandLine,
                             const TChildOptions& options)
    : commandLine_(commandLine) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd_, &writeEnd, &inherit, 0)) throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(readEnd_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    if (options.ShowState >= 0) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.ShowState);
    }
    std::string environment = EnvironmentBlock(options.Environment);
    std::string mutableCommandLine = commandLine;
    BOOL created = FALSE;
    if (options.Utf8CommandLine) {
        STARTUPINFOW wideStartup = {};
        std::memcpy(&wideStartup, &startup, sizeof wideStartup); // the same layout, no strings set
        const std::wstring wideExe = attente::Utf8ToWide(exe);
        std::wstring wideCommandLine = attente::Utf8ToWide(commandLine);
        created = CreateProcessW(wideExe.c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE, 0,
                                 environment.data(), nullptr, &wideStartup, &info_);
    } else {
        created = CreateProcessA(exe.c_str(), mutableCommandLine.data(), nullptr, nullptr, TRUE, 0,
                                 environment.data(), nullptr, &startup, &info_);
    }
    CloseHandle(writeEnd);
    if (!created) {
        CloseHandle(readEnd_);
        throw std::runtime_error("CreateProcess failed for " + exe + ": " + std::to_string(GetLastError()));
    }
}

TChildProcess::~TChildProcess() {
    if (!waited_ && Running()) TerminateProcess(info_.hProcess, kEndedByTest);
    if (!waited_) Wait();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    CloseHandle(readEnd_);
}

bool TChildProcess::Running() const {
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string TChildProcess::Describe() const {
    TDescription description{info_.dwProcessId,
                             "process " + std::to_string(info_.dwProcessId) + " (" + commandLine_ + ")"};
    DWORD code = STILL_ACTIVE;
    if (Running() || !GetExitCodeProcess(info_.hProcess, &code))
        description.Text += " running";
    else
        description.Text += " ended with exit code " + std::to_string(code);
    EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&description));
    while (DrainOutput()) {
    }
    description.Text += "\n  output: " + (output_.empty() ? std::string("none") : output_);
    return description.Text;
}

// Drains the pipe while waiting, so that a child writing much output never blocks on a full pipe;
// stops at the child's end rather than at end of file, since a process the platform starts for the
// child may hold an inherited copy of the write end.
bool TChildProcess::DrainOutput() const {
    DWORD available = 0;
    if (!PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &available, nullptr) || available == 0) return false;
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (!ReadFile(readEnd_, chunk.data(), available, &read, nullptr)) return false;
    output_.append(chunk, 0, read);
    return read > 0;
}

DWORD TChildProcess::Wait() {
    if (waited_) return exitCode_;
    const TDeadline deadline;
    while (WaitForSingleObject(info_.hProcess, kPollMs) == WAIT_TIMEOUT) {
        while (DrainOutput()) {
        }
        if (deadline.Passed()) {
            TDeadline::Overstayed("waited " + std::to_string(deadline.Limit()) + " ms for the end of " +
                                  Describe() + "\n  ending it");
            TerminateProcess(info_.hProcess, kEndedByTest);
            WaitForSingleObject(info_.hProcess, INFINITE);
        }
    }
    while (DrainOutput()) {
    }
    GetExitCodeProcess(info_.hProcess, &exitCode_);
    waited_ = true;
    return exitCode_;
}

TProbeResult RunProbe(const std::string& exe, const std::string& commandLine, const TChildOptions& options) {
    TChildProcess child(exe, commandLine, options);
    TProbeResult result;
    result.ExitCode = child.Wait();
    result.Raw = child.Output();
    result.Values = ParseProbeLines(result.Raw);
    return result;
}

HWND WaitForWindow(const TChildProcess& child, const wchar_t* className, const TDeadline& deadline) {
    for (;;) {
        TFind find{child.ProcessId(), className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&find));
        if (find.Found != nullptr) return find.Found;
        if (!child.Running()) return nullptr;
        if (deadline.Passed()) {
            TDeadline::Overstayed("no " + attente::WideToUtf8(className) +
                                  " window came up: " + child.Describe());
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

TMessageBox TakeMessageBox(const TChildProcess& child) {
    constexpr wchar_t kDialogClass[] = L"#32770";
    constexpr int kMessageBoxTextId = 0xFFFF;
    TMessageBox seen;
    const TDeadline deadline;
    const HWND box = WaitForWindow(child, kDialogClass, deadline);
    if (box == nullptr) return seen;
    // The box exists before its texts are set; it is shown once they are.
    while (!IsWindowVisible(box) && IsWindow(box) && child.Running() && !deadline.Passed())
        Sleep(kPollMs);
    if (deadline.Passed()) {
        TDeadline::Overstayed("the message box was never shown: " + child.Describe());
    }
    seen = {true, WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId))};
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Gone before the caller looks for the next box, so that one is not taken for this one.
    const TDeadline closing;
    while (IsWindow(box) && child.Running() && !closing.Passed())
        Sleep(kPollMs);
    if (closing.Passed()) {
        TDeadline::Overstayed("the message box stayed after OK: " + child.Describe());
    }
    return seen;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(window, buffer, 4096);
    return buffer;
}

} // namespace attente::test
