// Reading the language request from the command line; the switch list stays available for later
// switches of the program.
#pragma once

#include "SwitchList.h"

namespace attente {

// The switches of this process (arguments 1 to n); empty until ReadCommandLine.
extern TSwitchList Switches;

// Fills Switches and RequestedLanguage (switch "/L") from GetCommandLineA. Never raises: false when
// something failed on the way, the values already set being kept.
bool ReadCommandLine();
bool ReadCommandLine(const char* rawCommandLine);

void ClearSwitches();

// The switches as typed, in UTF-8 from the wide command line (split and named by the same rules), for
// what must survive in any script whatever the system's code page: relayed texts, the /RUN= command.
TSwitchList WideSwitches();

// Whether `byte` starts a two-byte character in the ANSI code page: the splitting and path rules
// step over such characters whole.
bool IsAnsiLeadByte(unsigned char byte);

} // namespace attente
