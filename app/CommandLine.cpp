// The command-line reader: the program's own splitting, in the ANSI code page's character widths.
#include "CommandLine.h"

#include "LanguageValues.h"
#include "SwitchArguments.h"
#include "SwitchNames.h"
#include "TextFormat.h"

#include <windows.h>

namespace attente {

TSwitchList Switches;

namespace {

// Names are compared as the user's locale compares letters without case: the one rule of every
// reader of switches, the relay's and the job's included.
bool SwitchNamesEqual(std::string_view a, std::string_view b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

bool ReadCommandLine(const char* rawCommandLine) {
    try {
        std::vector<std::string> arguments =
            SwitchArguments(rawCommandLine ? rawCommandLine : "", IsAnsiLeadByte, SwitchNamesEqual);
        if (arguments.empty()) return true;
        Switches = TSwitchList(std::move(arguments), SwitchNamesEqual);
        RequestedLanguage = Switches.Value(kLanguageSwitch);
        return true;
    } catch (...) {
        return false;
    }
}

bool ReadCommandLine() {
    return ReadCommandLine(GetCommandLineA());
}

TSwitchList WideSwitches() {
    return TSwitchList(SwitchArguments(WideToUtf8(GetCommandLineW()), NoLeadBytes, SwitchNamesEqual),
                       SwitchNamesEqual);
}

void ClearSwitches() {
    Switches.Clear();
}

} // namespace attente
