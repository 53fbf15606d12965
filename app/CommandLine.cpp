// The command-line reader: the program's own splitting, in the ANSI code page's character widths.
#include "CommandLine.h"

#include "CommandLineSplit.h"
#include "LanguageValues.h"

#include <windows.h>

namespace attente {

TSwitchList Switches;

namespace {

constexpr char kLanguageSwitch[] = "/L";

// Names are compared as the user's locale compares letters without case.
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
            SplitCommandLine(rawCommandLine ? rawCommandLine : "", IsAnsiLeadByte);
        if (arguments.size() <= 1) return true;
        arguments.erase(arguments.begin());
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

void ClearSwitches() {
    Switches.Clear();
}

} // namespace attente
