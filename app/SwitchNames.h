// Every command-line switch of the program that is not a request, named once: the readers, the relay
// and the report use these names. The requests to an open window are in Requests.def.
#pragma once

namespace attente {

constexpr char kLanguageSwitch[] = "/L";            // the language asked for at start-up
constexpr char kRunSwitch[] = "/RUN";               // the installer's command; takes the rest of the line
constexpr char kDiagnosticsSwitch[] = "/DIAG";      // where the language report goes
constexpr char kUnattendedSwitch[] = "/UNATTENDED"; // no message box at all; no value
constexpr char kTopmostSwitch[] = "/TOPMOST";       // above every window, not only the installer's; no value
constexpr char kHiddenSwitch[] = "/HIDDEN";         // no window shown, requests still taken; no value
constexpr char kIdSwitch[] = "/ID";                 // names the window, at its start and in requests
constexpr char kStrictSwitch[] = "/STRICT";         // a relayed switch must find the language's own module

// A start with any of these opens a status window of its own, whatever requests it carries too.
constexpr const char* kWindowStartSwitches[] = {kLanguageSwitch, kRunSwitch, kDiagnosticsSwitch,
                                                kUnattendedSwitch, kTopmostSwitch, kHiddenSwitch};

} // namespace attente
