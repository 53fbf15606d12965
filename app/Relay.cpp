// Both ends of a relayed request: the shapes a window accepts, and the start that finds the window,
// waiting for one that is still coming up so that a relay sent right after the start is not lost.
#include "Relay.h"

#include "CommandLine.h"
#include "ExeWidePath.h"
#include "AnsiText.h"
#include "Handles.h"
#include "ResolveLanguage.h"
#include "StatusJob.h"
#include "SwitchNames.h"
#include "TextFormat.h"
#include "WindowMarks.h"

#include <tlhelp32.h>

#include <vector>

namespace attente {

namespace {

constexpr wchar_t kStatusWindowClass[] = L"TForm1";
// Long enough for a reload from a slow disk; a window that hangs does not hold the installer forever.
constexpr UINT kReplyTimeoutMs = 30000;
// A window still coming up is waited for this long at most, looking again at this interval; the wait
// ends early once no process of this exe that could show one is left.
constexpr DWORD kStartingWindowWaitMs = 10000;
constexpr DWORD kStartingWindowPollMs = 50;
constexpr DWORD kLongestImagePath = 32768;

std::wstring LongPath(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return path;
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.resize(length);
    }
}

// Who this relaying start is: its image and the chain of processes it was started by, so that it
// reaches the windows of its own installer only.
struct TRelayTargets {
    std::wstring Image;
    std::wstring IdName;            // the /ID= mark asked for; empty: none asked
    std::vector<DWORD> Ancestors;   // our starter, its starter, and so on: a /RUN= job's chain
    std::vector<HWND> Own;          // ready windows of this exe started by our starter or up our chain
    std::vector<HWND> Unfollowed;   // ready windows of this exe that follow no process: the fallback
    std::vector<DWORD> Closed;      // processes whose window closed while their job goes on
    std::vector<TKernelHandle> Starting; // processes of this exe, older than us, that may show one
    bool Refused = false;           // a window of ours whose process we may not query
    bool Failed = false;            // out of memory while looking

    const std::vector<HWND>& Windows() const { return Own.empty() ? Unfollowed : Own; }
    bool InChain(DWORD process) const;
};

bool Contains(const std::vector<DWORD>& ids, DWORD id);

bool TRelayTargets::InChain(DWORD process) const {
    return Contains(Ancestors, process);
}

// Opens another process for waiting when its image is the same file as ours: two products never
// drive each other's windows, whatever their class names.
TKernelHandle OpenProcessOfImage(DWORD processId, const std::wstring& image, bool& refused) {
    if (processId == GetCurrentProcessId()) return {};
    TKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        refused = refused || GetLastError() == ERROR_ACCESS_DENIED;
        return {};
    }
    std::wstring name(kLongestImagePath, L'\0');
    DWORD length = kLongestImagePath;
    if (!QueryFullProcessImageNameW(process.Get(), 0, name.data(), &length)) return {};
    name = LongPath(name.substr(0, length));
    if (CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), image.c_str(),
                             static_cast<int>(image.size()), TRUE) != CSTR_EQUAL)
        return {};
    return process;
}

// Nothing may leave a function the system calls: no unwind tables span user32's frames.
BOOL CALLBACK CollectStatusWindow(HWND window, LPARAM context) noexcept {
    auto& targets = *reinterpret_cast<TRelayTargets*>(context);
    try {
        wchar_t className[std::size(kStatusWindowClass) + 1] = {};
        GetClassNameW(window, className, static_cast<int>(std::size(className)));
        if (std::wstring_view(className) != kStatusWindowClass) return TRUE;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        // A status window exists unready while its descriptions are read: it takes requests once up.
        if (!GetPropW(window, kReadyMark)) {
            if (GetPropW(window, kClosedMark)) targets.Closed.push_back(processId);
            return TRUE;
        }
        const auto starter = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetPropW(window, kStarterMark)));
        const bool own = targets.IdName.empty()
                             ? (starter != 0 && starter == targets.Ancestors.front()) || targets.InChain(processId)
                             : GetPropW(window, targets.IdName.c_str()) != nullptr;
        const bool unfollowed = !own && targets.IdName.empty() && starter == 0;
        if (!own && !unfollowed) return TRUE;
        bool refused = false;
        if (OpenProcessOfImage(processId, targets.Image, refused))
            (own ? targets.Own : targets.Unfollowed).push_back(window);
        // A window going away refuses to be opened too: only one still there was refused.
        else if (refused && own && IsWindow(window) && GetPropW(window, kReadyMark))
            targets.Refused = true;
        return TRUE;
    } catch (...) {
        targets.Failed = true;
        return FALSE;
    }
}

bool Contains(const std::vector<DWORD>& ids, DWORD id) {
    for (const DWORD each : ids)
        if (each == id) return true;
    return false;
}

// Our chain of starters; then, once no window of ours is up, the processes of this exe that were
// started before us and may still show one: started by our starter or up our chain (any, for a
// named window), not one whose window closed already.
void ReadProcesses(TRelayTargets& targets, bool starting) {
    const TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.Get() == INVALID_HANDLE_VALUE) return;
    // Process and parent ids, in pairs.
    std::vector<DWORD> links;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        links.push_back(entry.th32ProcessID);
        links.push_back(entry.th32ParentProcessID);
    }
    if (!starting) {
        // Bounded: process ids are recycled, and a chain could meet itself.
        constexpr std::size_t kLongestChain = 16;
        DWORD process = GetCurrentProcessId();
        for (std::size_t i = 0; i < links.size() && targets.Ancestors.size() < kLongestChain; i += 2) {
            if (links[i] != process) continue;
            process = links[i + 1];
            if (process == 0 || targets.InChain(process)) break;
            targets.Ancestors.push_back(process);
            i = static_cast<std::size_t>(-2); // from the start again, for the next link up
        }
        if (targets.Ancestors.empty()) targets.Ancestors.push_back(0);
        return;
    }
    const ULONGLONG ourStart = CreationTimeOf(GetCurrentProcess());
    bool refused = false;
    for (std::size_t i = 0; i < links.size(); i += 2) {
        const bool related = !targets.IdName.empty() || links[i + 1] == targets.Ancestors.front() ||
                             targets.InChain(links[i]);
        if (!related || Contains(targets.Closed, links[i])) continue;
        TKernelHandle process = OpenProcessOfImage(links[i], targets.Image, refused);
        if (process && CreationTimeOf(process.Get()) <= ourStart) targets.Starting.push_back(std::move(process));
    }
}

bool AnyRunning(const std::vector<TKernelHandle>& processes) {
    for (const TKernelHandle& process : processes)
        if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) return true;
    return false;
}

// The status windows of this exe that take requests and are ours (by name with /ID=); when there is
// none yet but a process of this exe that may still show one of ours runs, waits for it (bounded).
TRelayTargets FindTargets(const std::wstring& id) {
    TRelayTargets targets;
    targets.Image = LongPath(ExeFullPathW());
    if (!id.empty()) targets.IdName = IdMark(id);
    ReadProcesses(targets, false);
    const ULONGLONG deadline = GetTickCount64() + kStartingWindowWaitMs;
    for (bool looked = false;; looked = true) {
        targets.Own.clear();
        targets.Unfollowed.clear();
        targets.Closed.clear();
        EnumWindows(CollectStatusWindow, reinterpret_cast<LPARAM>(&targets));
        if (!targets.Windows().empty() || targets.Failed) return targets;
        if (!looked) ReadProcesses(targets, true);
        if (!AnyRunning(targets.Starting) || GetTickCount64() >= deadline) return targets;
        Sleep(kStartingWindowPollMs);
    }
}

// The exit code for one request to one window.
int Send(HWND window, UINT message, const TRelayRequest* request) {
    COPYDATASTRUCT data{};
    if (request) {
        data.dwData = RequestInfo(request->Kind).CopyDataCode;
        data.cbData = static_cast<DWORD>(request->Text.size() * sizeof(wchar_t));
        data.lpData = const_cast<wchar_t*>(request->Text.data());
    }
    DWORD_PTR reply = 0;
    SetLastError(ERROR_SUCCESS);
    if (!SendMessageTimeoutW(window, message, 0, request ? reinterpret_cast<LPARAM>(&data) : 0,
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kReplyTimeoutMs, &reply))
        // A window of higher integrity refuses our messages (UIPI) with this error.
        return GetLastError() == ERROR_ACCESS_DENIED ? kSystemRefusedExitCode : kRequestRefusedExitCode;
    if (!request || reply == kReplyCarriedOut) return 0;
    return reply == kReplyModuleUnusable ? kModuleUnusableExitCode : kRequestRefusedExitCode;
}

// The code that tells the caller the most: the system's refusal, then an unusable module, then any
// other refusal.
int Worse(int a, int b) {
    for (const int code : {kSystemRefusedExitCode, kModuleUnusableExitCode, kRequestRefusedExitCode})
        if (a == code || b == code) return code;
    return 0;
}

} // namespace

std::optional<TRelayRequest> ReadRelayRequest(const COPYDATASTRUCT* data) {
    const TRequestInfo* info = data ? RequestOfCode(data->dwData) : nullptr;
    if (!info || data->cbData % sizeof(wchar_t) != 0 || (data->cbData != 0 && !data->lpData)) return std::nullopt;
    std::size_t units = data->cbData / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(data->lpData);
    if (units > 0 && text[units - 1] == L'\0') --units;
    if (units > info->MaxUnits) return std::nullopt;
    std::wstring value(text ? text : L"", units);
    if (value.find(L'\0') != std::wstring::npos || !RequestValueValid(info->Kind, WideToUtf8(value)))
        return std::nullopt;
    return TRelayRequest{info->Kind, std::move(value)};
}

std::optional<std::string> StartValue(const TSwitchList& switches, const TRequestInfo& request) {
    if (request.Value == TRequestValue::Flag)
        return switches.HasFlag(request.Switch) ? std::optional<std::string>("") : std::nullopt;
    if (!switches.Has(request.Switch)) return std::nullopt;
    if (request.Value == TRequestValue::Line) return switches.RawValue(request.Switch);
    // Each item is one line, taken exactly as written: a Windows path reads as itself.
    std::string text;
    bool first = true;
    for (const std::string& line : switches.RawValues(request.Switch)) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

std::optional<int> RelayIfAsked() {
    const TSwitchList switches = WideSwitches();
    bool opensWindow = false;
    for (const char* name : kWindowStartSwitches)
        opensWindow = opensWindow || switches.Has(name) || switches.HasFlag(name);
    // All or nothing: every value is read before anything is sent.
    std::vector<TRelayRequest> requests;
    bool close = false;
    for (const TRequestInfo& info : kRequests) {
        const std::optional<std::string> value = StartValue(switches, info);
        if (!value || (opensWindow && !info.AtStart)) continue;
        if (!RequestValueValid(info.Kind, *value)) return kRequestRefusedExitCode;
        if (info.Value == TRequestValue::Flag)
            close = true;
        else
            requests.push_back({info.Kind, Utf8ToWide(*value)});
    }
    const std::wstring id = Utf8ToWide(switches.RawValue(kIdSwitch));
    if (id.size() > kMaxIdUnits) return kRequestRefusedExitCode;
    if (opensWindow || (requests.empty() && !close)) return std::nullopt;
    if (switches.HasFlag(kStrictSwitch))
        for (const TRelayRequest& request : requests)
            if (request.Kind == TRequestKind::Language && !RequestHasOwnModule(WideToAnsi(request.Text)))
                return kFallbackExitCode;

    const TRelayTargets targets = FindTargets(id);
    if (targets.Windows().empty()) {
        if (targets.Failed) return kRequestRefusedExitCode;
        return targets.Refused ? kSystemRefusedExitCode : kNoStatusWindowExitCode;
    }
    int exitCode = 0;
    for (const HWND window : targets.Windows()) {
        for (const TRelayRequest& request : requests)
            exitCode = Worse(exitCode, Send(window, WM_COPYDATA, &request));
        if (close) exitCode = Worse(exitCode, Send(window, WM_CLOSE, nullptr));
    }
    return exitCode;
}

} // namespace attente
