// Requests to a status window that is already open: a new language, a status text or closing, sent by
// a second start of the same exe (/SWITCH=, /STATUS=, /CLOSE) or by any program as WM_COPYDATA.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace attente {

// WM_COPYDATA's dwData; the payload is UTF-16 text without a terminating zero (one is tolerated).
constexpr ULONG_PTR kLanguageRequest = 0x41540001; // a value as /L= takes it
constexpr ULONG_PTR kStatusRequest = 0x41540002;   // the label's text; empty gives back the module's
// Longest payloads, in UTF-16 units.
constexpr std::size_t kMaxLanguageRequestUnits = 64;
constexpr std::size_t kMaxStatusRequestUnits = 1023;

// WM_COPYDATA's reply; 0 for anything else, which changes nothing.
constexpr LRESULT kReplyCarriedOut = TRUE;
constexpr LRESULT kReplyModuleUnusable = 2; // the language's module could not be used: nothing changed

// Exit codes of a relaying start.
constexpr int kNoStatusWindowExitCode = 2; // no status window of this exe is open: nothing was sent
constexpr int kRequestRefusedExitCode = 3; // the window did not carry the request out
constexpr int kModuleUnusableExitCode = 4; // the language's module could not be used: nothing changed
constexpr int kSystemRefusedExitCode = 5;  // the system kept us from the window (privileges)

struct TRelayRequest {
    ULONG_PTR Kind = 0;
    std::wstring Text;
};

// The request a WM_COPYDATA carries, or none when it is not one of the documented shapes.
std::optional<TRelayRequest> ReadRelayRequest(const COPYDATASTRUCT* data);

// With /SWITCH=, /STATUS= or /CLOSE on the command line, hands the requests to the status windows of
// this exe and gives the exit code; otherwise nothing.
std::optional<int> RelayIfAsked();

} // namespace attente
