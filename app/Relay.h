// Requests to a status window that is already open: a new language or a status text, sent by a
// second start of the same exe (/SWITCH=, /STATUS=) or by any program as WM_COPYDATA.
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
// The window's reply to a language request whose module could not be used (the window is unchanged).
constexpr LRESULT kReplyModuleUnusable = 2;

// Exit codes of a relaying start.
constexpr int kNoStatusWindowExitCode = 2; // no status window of this exe is open: nothing was sent
constexpr int kRequestRefusedExitCode = 3; // the window did not carry the request out

struct TRelayRequest {
    ULONG_PTR Kind = 0;
    std::wstring Text;
};

// The request a WM_COPYDATA carries, or none when it is not one of the documented shapes.
std::optional<TRelayRequest> ReadRelayRequest(const COPYDATASTRUCT* data);

// With /SWITCH= or /STATUS= on the command line, hands the requests to the status windows of this exe
// and gives the exit code; otherwise nothing.
std::optional<int> RelayIfAsked();

} // namespace attente
