// Requests to a status window that is already open (the table in Requests.def), sent by a second start
// of the same exe or by any program as WM_COPYDATA.
#pragma once

#include "Requests.h"
#include "SwitchList.h"

#include <windows.h>

#include <optional>
#include <string>

namespace attente {

constexpr const TRequestInfo& RequestInfo(TRequestKind kind) {
    return kRequests[static_cast<int>(kind)];
}
// WM_COPYDATA's dwData; the payload is UTF-16 text without a terminating zero (one is tolerated).
constexpr ULONG_PTR kLanguageRequest = RequestInfo(TRequestKind::Language).CopyDataCode;
constexpr ULONG_PTR kStatusRequest = RequestInfo(TRequestKind::Status).CopyDataCode;
constexpr ULONG_PTR kProgressRequest = RequestInfo(TRequestKind::Progress).CopyDataCode;
constexpr std::size_t kMaxStatusRequestUnits = RequestInfo(TRequestKind::Status).MaxUnits;

// WM_COPYDATA's reply; 0 for anything else, which changes nothing.
constexpr LRESULT kReplyCarriedOut = TRUE;
constexpr LRESULT kReplyModuleUnusable = 2; // the language's module could not be used: nothing changed

// Exit codes of a relaying start.
constexpr int kNoStatusWindowExitCode = 2; // no status window of this exe is open: nothing was sent
constexpr int kRequestRefusedExitCode = 3; // malformed, or the window did not carry the request out
constexpr int kModuleUnusableExitCode = 4; // the language's module could not be used: nothing changed
constexpr int kSystemRefusedExitCode = 5;  // the system kept us from the window (privileges)
constexpr int kFallbackExitCode = 6;       // /STRICT: the language's own module is not there: nothing sent

struct TRelayRequest {
    TRequestKind Kind = TRequestKind::Close;
    std::wstring Text;
};

// The request a WM_COPYDATA carries, or none when it is not one of the documented shapes.
std::optional<TRelayRequest> ReadRelayRequest(const COPYDATASTRUCT* data);

// The exit code of a start that opens no window: one with requests and none of the switches that start
// a window hands them to the status windows of this exe; one whose requests are malformed does
// nothing. None for a start that opens its window.
std::optional<int> RelayIfAsked();

// The value a start that opens its window gives the request, as written; none when it gives none.
std::optional<std::string> StartValue(const TSwitchList& switches, const TRequestInfo& request);

} // namespace attente
