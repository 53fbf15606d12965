// Entry runs for the language-resolution tests of every locale.
#include "EntryCase.h"

#include "LocaleEntries.h"
#include "ProbeFolder.h"
#include "RegistryLock.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace attente::test {

const char kFrenchStatus[] = "Mise \xC3\xA0 jour des informations\r\n\r\nVeuillez patienter...";
const char kGermanStatus[] = "Informationen werden aktualisiert\r\n\r\nBitte warten...";
const char kEnglishStatus[] = "Updating information\r\n\r\nPlease wait...";

void PrintTo(const TEntryCase& c, std::ostream* os) {
    *os << c.Name;
}

void RunEntryCase(const TEntryCase& c) {
    const TRegistryLock lock;
    const TProbeFolder folder(TProbe::Entry);
    const TLocaleEntries entries(folder.ExePath());
    for (const std::string& module : c.Modules)
        folder.CopyModule(module);
    if (!c.Settings.empty()) folder.Write("setup.ini", c.Settings);
    if (c.UserEntry) entries.SetText(HKEY_CURRENT_USER, *c.UserEntry);
    if (c.MachineEntry) entries.SetText(HKEY_LOCAL_MACHINE, *c.MachineEntry);

    const TProbeResult result = folder.Run("none", c.Arguments);
    ASSERT_EQ(result.ExitCode, 0u) << result.Raw;
    const TEntryExpect& e = c.Expect;
    EXPECT_EQ(result.Values.at("RequestedLanguage"), e.Requested);
    EXPECT_EQ(result.Values.at("AutoLanguage"), e.Auto ? "1" : "0");
    EXPECT_EQ(result.Values.at("ModuleLocale"), e.ModuleLocale);
    EXPECT_EQ(result.Values.at("CurrentLanguage"), e.Current);
    EXPECT_EQ(result.Values.at("RequestedLcid"), e.Lcid);
    EXPECT_EQ(result.Values.at("StatusText"), e.Status);
    EXPECT_EQ(result.Values.at("Shutdown"), "table");
}

std::string SystemDefaultAbbrev() {
    char abbrev[5] = {};
    GetLocaleInfoA(GetSystemDefaultLCID(), LOCALE_SABBREVLANGNAME, abbrev, sizeof abbrev);
    return abbrev;
}

} // namespace attente::test
