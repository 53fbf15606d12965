// Starting the installer's command and finding our parent process, through kernel32 only.
#include "StatusJob.h"

#include "Exceptions.h"
#include "TextFormat.h"

#include <tlhelp32.h>

#include <vector>

namespace attente {

namespace {

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    // Narrow on purpose: the wide conversion goes through the C library's wide printf.
    if (message.empty()) return "Error " + std::to_string(error);
    return WideToUtf8(message);
}

ULONGLONG CreationTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

} // namespace

TKernelHandle StartCommand(const std::string& commandLine) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (commandLine.empty() || !CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                               nullptr, &startup, &info))
        throw Exception(commandLine + " : " +
                        SystemMessage(commandLine.empty() ? ERROR_INVALID_PARAMETER : GetLastError()));
    CloseHandle(info.hThread);
    return TKernelHandle(info.hProcess);
}

TKernelHandle OpenParentProcess() {
    const DWORD self = GetCurrentProcessId();
    DWORD parentId = 0;
    TFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ProcessID == self) {
            parentId = entry.th32ParentProcessID;
            break;
        }
    if (parentId == 0 || parentId == self) return {};

    TKernelHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parentId));
    if (!parent) return {};
    const ULONGLONG parentCreated = CreationTimeOf(parent.Get());
    const ULONGLONG selfCreated = CreationTimeOf(GetCurrentProcess());
    if (parentCreated == 0 || selfCreated == 0 || parentCreated > selfCreated) return {};
    return parent;
}

UINT ExitCodeOf(HANDLE process) {
    DWORD code = 1;
    if (!GetExitCodeProcess(process, &code)) return 1;
    return code;
}

} // namespace attente
