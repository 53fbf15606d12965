// The test executable's second role: started as "setup.exe --probe <report> [steps]", it acts as
// the program (its own record, start-up selection and switches) and writes what it saw to <report>.
#pragma once

namespace attente::test {

constexpr const char* kProbeSwitch = "--probe";
// The source a probe reports when it is a module whose file the platform will not name (this Wine
// names no mapping whose path is near the path limit).
constexpr const char* kUnnamedModule = "<module without a name>";

// Steps after the report path: "load <lcid in hex> <tryEnglish 0|1>", any number of them. Report
// lines are key=value: startup.source, startup.id, startup.status, then stepN.source, stepN.id,
// stepN.returned (source|null|other) and stepN.previous (released|kept|instance).
int RunModuleProbe(int argc, char** argv);

} // namespace attente::test
