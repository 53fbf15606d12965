// One run of the real start-up order in setup.exe: modules, settings file and registry entries set
// up beside it, the language values it ends with checked, everything removed afterwards.
#pragma once

#include "ChildProcess.h"

#include <optional>
#include <string>
#include <vector>

namespace attente::test {

extern const char kFrenchStatus[];
extern const char kGermanStatus[];
extern const char kEnglishStatus[];

struct TEntryExpect {
    std::string Requested;
    bool Auto;
    std::string ModuleLocale;
    std::string Current;
    std::string Lcid;   // RequestedLcid, 4 hex digits
    std::string Status; // status text of the installed resources
};

struct TEntryCase {
    const char* Name;
    std::string Arguments;
    std::string Settings;             // setup.ini content; empty: no file
    std::vector<std::string> Modules; // dist modules copied beside setup.exe, by extension
    std::optional<std::string> UserEntry;
    std::optional<std::string> MachineEntry;
    TEntryExpect Expect;
};

void PrintTo(const TEntryCase& c, std::ostream* os);

// Runs the case under the registry lock and checks every reported value, exit code 0 and shutdown.
void RunEntryCase(const TEntryCase& c);

// The process's system default locale abbreviation, to guard locale-specific test programs.
std::string SystemDefaultAbbrev();

} // namespace attente::test
