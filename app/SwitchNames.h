// Every command-line switch of the program, named once: the readers, the relay and the report use
// these names.
#pragma once

namespace attente {

constexpr char kLanguageSwitch[] = "/L";            // the language asked for at start-up
constexpr char kRunSwitch[] = "/RUN";               // the installer's command; takes the rest of the line
constexpr char kDiagnosticsSwitch[] = "/DIAG";      // where the language report goes
constexpr char kUnattendedSwitch[] = "/UNATTENDED"; // no message box at all; no value
// Requests to the status window that is already open.
constexpr char kSwitchSwitch[] = "/SWITCH"; // a new language
constexpr char kStatusSwitch[] = "/STATUS"; // one line of the label's text per item
constexpr char kCloseSwitch[] = "/CLOSE";   // closes it; no value

} // namespace attente
