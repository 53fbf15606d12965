// The /DIAG report as an installer author reads it: the real program started from its own folder,
// the report file read back line by line, and the window checked to speak the language reported.
#include "Handles.h"
#include "StatusProgram.h"
#include "LocaleEntries.h"
#include "RegistryLock.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

using namespace attente::test;

namespace {

const std::wstring kFrenchStatus = L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...";
const std::wstring kEnglishStatus = L"Updating information\r\n\r\nPlease wait...";
const std::wstring kGermanStatus = L"Informationen werden aktualisiert\r\n\r\nBitte warten...";
constexpr char kReportName[] = "diag.txt";

std::vector<std::string> ReportLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

// Runs the program (through `exePath` when given) with `arguments`, checks its window's text, closes
// it; returns the report lines. The report goes to `reportFolder`, else beside the exe.
std::vector<std::string> RunAndReadReport(const TInstallFolder& folder, const std::string& arguments,
                                          const std::wstring& expectedStatus,
                                          const TTempFolder* reportFolder = nullptr,
                                          const std::string& exePath = "") {
    const std::string report = (reportFolder ? *reportFolder : folder).File(kReportName);
    TChildProcess program =
        folder.StartAs(exePath.empty() ? folder.Exe() : exePath, arguments + " \"/DIAG=" + report + "\"");
    const HWND window = WaitForStatusWindow(program);
    EXPECT_NE(window, nullptr) << program.Output();
    if (window == nullptr) return {};
    EXPECT_EQ(ReadStatusWindow(window).Label.Text, expectedStatus);
    CloseAndExpectExit(program, window);
    return ReportLines(report);
}

// The exe's path in its 8.3 form, empty when the platform has none.
std::string ShortForm(const std::string& path) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(attente::Utf8ToWide(path).c_str(), buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : attente::WideToUtf8(buffer);
}

bool Contains(const std::vector<std::string>& report, const std::string& line) {
    return std::find(report.begin(), report.end(), line) != report.end();
}

void ExpectLines(const std::vector<std::string>& report, const std::vector<std::string>& expected) {
    for (const std::string& line : expected)
        EXPECT_NE(std::find(report.begin(), report.end(), line), report.end())
            << "missing line: " << line << "\nreport:\n"
            << Joined(report);
}

} // namespace

TEST(DiagnosticsReport, NamesThePerUserRegistryEntryAndTheModuleItChoseAtStartUp) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("ENU", "setup.ENU");
    TLocaleEntries entries(folder.Exe());
    entries.SetText(HKEY_CURRENT_USER, "enu");
    const std::vector<std::string> report = RunAndReadReport(folder, "", kEnglishStatus);
    ExpectLines(report, {
                            "Attente language report",
                            "Executable: " + folder.Exe(),
                            "Version: " ATTENTE_VERSION,
                            "Language request: none (automatic)",
                            "Registry entry: ENU, per-user entry (HKEY_CURRENT_USER)",
                            "Start-up registry override: enu",
                            "System default locale: 0x040C FRA",
                            "Thread locale: 0x040C FRA",
                            "Decision: registry entry and no request: the start-up choice stays",
                            "  start-up: " + folder.File("setup.enu") + ": opened",
                            "Module installed: " + folder.File("setup.enu"),
                            "CurrentLanguage: ENU",
                        });
}

TEST(DiagnosticsReport, NamesTheCopiedPerMachineEntry) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("ENU", "setup.ENU");
    TLocaleEntries entries(folder.Exe());
    entries.SetText(HKEY_LOCAL_MACHINE, "ENU");
    const std::vector<std::string> report = RunAndReadReport(folder, "", kEnglishStatus);
    ExpectLines(report,
                {
                    "Registry entry: ENU, per-machine entry (HKEY_LOCAL_MACHINE), copied to the per-user key",
                    "Start-up registry override: ENU",
                    "Module installed: " + folder.File("setup.ENU"),
                });
    EXPECT_TRUE(entries.Read(HKEY_CURRENT_USER).Exists);
}

TEST(DiagnosticsReport, NamesTheSettingsFileThatAskedForTheLanguage) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DEU");
    folder.Write("setup.ini", "[General]\r\nLanguage=DEU\r\n");
    const std::vector<std::string> report = RunAndReadReport(folder, "", kGermanStatus);
    ExpectLines(report, {
                            "Language request: settings file " + folder.File("setup.ini"),
                            "Decision: module looked for with locale 0x0407 DEU",
                            "  resolution: " + folder.File("setup.DEU") + ": opened",
                            "Module installed: " + folder.File("setup.DEU"),
                            "CurrentLanguage: DEU",
                        });
}

TEST(DiagnosticsReport, FollowsTheFallbackToAnEnglishModule) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("ENU", "setup.eng");
    folder.MakeFolder("setup.en"); // a directory is passed over
    const std::vector<std::string> report = RunAndReadReport(folder, "/L=DEU", kEnglishStatus);
    ExpectLines(report, {
                            "Language request: command line, /L=DEU",
                            "Registry entry: none",
                            "Start-up registry override: none",
                            "AutoLanguage: no",
                            "RequestedLanguage: DEU",
                            "RequestedLcid: 0x0407",
                            "Decision: module looked for with locale 0x0407 DEU",
                            "  start-up: " + folder.File("setup.FRA") + ": missing",
                            "  start-up: " + folder.File("setup.FR") + ": missing",
                            "  resolution: " + folder.File("setup.DEU") + ": missing",
                            "  resolution: " + folder.File("setup.DE") + ": missing",
                            "  resolution: " + folder.File("setup.en") + ": directory",
                            "  resolution: " + folder.File("setup.eng") + ": opened",
                            "Module installed: " + folder.File("setup.eng"),
                            "CurrentLanguage: ENU",
                        });
}

TEST(DiagnosticsReport, UnknownRequestFallsBackToTheSystemDefault) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DEU");
    folder.Write("setup.FRA", "not a module");
    const std::vector<std::string> report = RunAndReadReport(folder, "/L=xyz", kFrenchStatus);
    ExpectLines(report, {
                            "Language request: command line, /L=xyz",
                            "RequestedLanguage: XYZ",
                            "RequestedLcid: 0x0000",
                            "Decision: module looked for with locale 0x040C FRA",
                            "  start-up: " + folder.File("setup.FRA") + ": not a sound module",
                            "  resolution: " + folder.File("setup.FRA") + ": not a sound module",
                            "  resolution: " + folder.File("setup.FR") + ": missing",
                            "  resolution: " + folder.File("setup.exe") + ": opened",
                            "Module installed: the executable's own resources",
                            "CurrentLanguage: FRA",
                        });
}

TEST(DiagnosticsReport, ReportThatCannotBeWrittenChangesNothing) {
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule("DE", "setup.DEU");
    folder.MakeFolder("report");
    TChildProcess program = folder.Start("/L=DEU \"/DIAG=" + folder.File("report") + "\"");
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    EXPECT_EQ(ReadStatusWindow(window).Label.Text, kGermanStatus);
    CloseAndExpectExit(program, window);
    const DWORD attributes = GetFileAttributesA(folder.File("report").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// Folders an installer may unpack into: %TEMP% under a profile named in another script than the system's
// code page has (a French system here), names with shell signs, and paths the platform reports in 8.3 form.
struct TFolderCase {
    const char* Name;
    const char* Tail; // UTF-8, ends the folder's name
    bool ThroughShortPath;
};

const TFolderCase kFolderCases[] = {
    {"Cyrillic", "-\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80", false}, // Пример
    {"Chinese", "-\xE5\xAE\x89\xE8\xA3\x85\xE7\xA8\x8B\xE5\xBA\x8F", false},  // 安装程序
    {"SpacesAndSigns", " a & b 100% !x! ^y", false},
    {"ShortPath", " Long Folder.Name", true},
};

class AnyFolder : public testing::TestWithParam<TFolderCase> {};

TEST_P(AnyFolder, MainScenariosFindTheirModuleSettingsAndEntry) {
    struct TScenario {
        const char* What;
        const char* Arguments;
        bool GermanModule;
        bool Settings;
        bool Entry;
        const char* Installed; // after the exe's path without "exe"; null: its own resources
        const char* Line;      // one more line the scenario must give, after the exe's folder where it has %s
    };
    const TScenario scenarios[] = {
        {"built-in texts", "", false, false, false, nullptr, "Registry entry: none"},
        {"/L=DEU", "/L=DEU", true, false, false, "DEU", "Language request: command line, /L=DEU"},
        {"registry entry", "", true, false, true, "DEU",
         "Registry entry: DEU, per-user entry (HKEY_CURRENT_USER)"},
        {"settings file", "", true, true, false, "DEU", "Language request: settings file %sini"},
    };
    const TFolderCase& where = GetParam();
    for (const TScenario& s : scenarios) {
        SCOPED_TRACE(s.What);
        TRegistryLock registry;
        TInstallFolder folder(where.Tail);
        std::string exe = folder.Exe();
        if (where.ThroughShortPath) {
            exe = ShortForm(folder.Exe());
            ASSERT_NE(exe, "");
            ASSERT_NE(exe, folder.Exe()) << "the platform made no 8.3 name";
        }
        if (s.GermanModule) folder.AddDistModule("DE", "setup.DEU");
        if (s.Settings) folder.Write("setup.ini", "[General]\r\nLanguage=DEU\r\n");
        // Written under the long path, as installer authors are told to.
        TLocaleEntries entries(folder.Exe());
        if (s.Entry) entries.SetText(HKEY_CURRENT_USER, "DEU");
        const TTempFolder reports;
        const std::vector<std::string> report = RunAndReadReport(
            folder, s.Arguments, s.GermanModule ? kGermanStatus : kFrenchStatus, &reports, exe);
        // Wine reports the long form of a path the process was started through; Windows reports it as given.
        const std::string reported = Contains(report, "Executable: " + exe) ? exe : folder.Exe();
        const std::string stem = reported.substr(0, reported.size() - 3);
        std::string line = s.Line;
        if (const std::size_t mark = line.find("%s"); mark != std::string::npos) line.replace(mark, 2, stem);
        ExpectLines(report,
                    {
                        "Executable: " + reported,
                        line,
                        "Module installed: " + (s.Installed ? stem + s.Installed
                                                            : std::string("the executable's own resources")),
                    });
    }
}

INSTANTIATE_TEST_SUITE_P(DiagnosticsReport, AnyFolder, testing::ValuesIn(kFolderCases),
                         [](const testing::TestParamInfo<TFolderCase>& info) { return info.param.Name; });
