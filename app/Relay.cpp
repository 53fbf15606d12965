// Both ends of a relayed request: the shapes a window accepts, and the start that finds the window.
#include "Relay.h"

#include "CommandLineSplit.h"
#include "ExeWidePath.h"
#include "SwitchList.h"
#include "TextFormat.h"

#include <vector>

namespace attente {

namespace {

constexpr char kSwitchSwitch[] = "/SWITCH";
constexpr char kStatusSwitch[] = "/STATUS";
constexpr wchar_t kStatusWindowClass[] = L"TForm1";
// Long enough for a reload from a slow disk; a window that hangs does not hold the installer forever.
constexpr UINT kReplyTimeoutMs = 30000;

std::size_t MaxUnits(ULONG_PTR kind) {
    return kind == kLanguageRequest ? kMaxLanguageRequestUnits : kMaxStatusRequestUnits;
}

// The switches as typed, from the wide command line (UTF-8 splits by the same rules), so that any
// script survives whatever the system's code page.
TSwitchList WideSwitches() {
    std::vector<std::string> arguments = SplitCommandLine(WideToUtf8(GetCommandLineW()));
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return TSwitchList(std::move(arguments));
}

// "\n" in the switch is a line break.
std::wstring StatusText(const TSwitchList& switches) {
    std::wstring text = Utf8ToWide(switches.RawValue(kStatusSwitch));
    for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 2))
        text.replace(at, 2, L"\r\n");
    return text;
}

std::wstring LongPath(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return path;
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.resize(length);
    }
}

struct TWindowSearch {
    std::wstring Image;
    std::vector<HWND> Found;
};

// The image of the window's process names the same file as ours: two products never drive each
// other's windows, whatever their class names.
BOOL CALLBACK CollectStatusWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TWindowSearch*>(context);
    wchar_t className[sizeof kStatusWindowClass / sizeof(wchar_t) + 1] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (std::wstring_view(className) != kStatusWindowClass) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) return TRUE;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return TRUE;
    std::wstring image(32768, L'\0');
    DWORD length = static_cast<DWORD>(image.size());
    const BOOL named = QueryFullProcessImageNameW(process, 0, image.data(), &length);
    CloseHandle(process);
    if (!named) return TRUE;
    image = LongPath(image.substr(0, length));
    if (CompareStringOrdinal(image.c_str(), static_cast<int>(image.size()), search.Image.c_str(),
                             static_cast<int>(search.Image.size()), TRUE) == CSTR_EQUAL)
        search.Found.push_back(window);
    return TRUE;
}

bool Send(HWND window, const TRelayRequest& request) {
    COPYDATASTRUCT data{};
    data.dwData = request.Kind;
    data.cbData = static_cast<DWORD>(request.Text.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(request.Text.data());
    DWORD_PTR reply = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kReplyTimeoutMs, &reply) != 0 &&
           reply == TRUE;
}

} // namespace

std::optional<TRelayRequest> ReadRelayRequest(const COPYDATASTRUCT* data) {
    if (!data || (data->dwData != kLanguageRequest && data->dwData != kStatusRequest)) return std::nullopt;
    if (data->cbData % sizeof(wchar_t) != 0 || (data->cbData != 0 && !data->lpData)) return std::nullopt;
    std::size_t units = data->cbData / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(data->lpData);
    if (units > 0 && text[units - 1] == L'\0') --units;
    if (units > MaxUnits(data->dwData)) return std::nullopt;
    std::wstring value(text ? text : L"", units);
    if (value.find(L'\0') != std::wstring::npos) return std::nullopt;
    return TRelayRequest{data->dwData, std::move(value)};
}

std::optional<int> RelayIfAsked() {
    const TSwitchList switches = WideSwitches();
    std::vector<TRelayRequest> requests;
    if (switches.Has(kSwitchSwitch))
        requests.push_back({kLanguageRequest, Utf8ToWide(switches.Value(kSwitchSwitch))});
    if (switches.Has(kStatusSwitch)) requests.push_back({kStatusRequest, StatusText(switches)});
    if (requests.empty()) return std::nullopt;
    TWindowSearch search{LongPath(ExeFullPathW()), {}};
    EnumWindows(CollectStatusWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Found.empty()) return kNoStatusWindowExitCode;
    bool done = true;
    for (const HWND window : search.Found)
        for (const TRelayRequest& request : requests)
            done = Send(window, request) && done;
    return done ? 0 : kRequestRefusedExitCode;
}

} // namespace attente
