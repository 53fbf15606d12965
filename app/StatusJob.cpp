// Starting the installer's command and finding our parent process, through kernel32 only.
#include "StatusJob.h"

#include "Exceptions.h"
#include "TextFormat.h"

#include <winternl.h>

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
    if (message.empty()) return Concat({"Error ", std::to_string(error)});
    return WideToUtf8(message);
}

} // namespace

ULONGLONG CreationTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

TKernelHandle StartCommand(const std::wstring& commandLine) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (commandLine.empty() || !CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        throw Exception(
            Concat({WideToUtf8(commandLine), " : ",
                    SystemMessage(commandLine.empty() ? ERROR_INVALID_PARAMETER : GetLastError())}));
    CloseHandle(info.hThread);
    return TKernelHandle(info.hProcess);
}

TKernelHandle OpenParentProcess() {
    // The kernel keeps the parent's id with the process: no snapshot of every process is needed.
    PROCESS_BASIC_INFORMATION basic{};
    if (!NT_SUCCESS(NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                              sizeof basic, nullptr)))
        return {};
    const DWORD parentId = static_cast<DWORD>(basic.InheritedFromUniqueProcessId);
    if (parentId == 0 || parentId == GetCurrentProcessId()) return {};

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
