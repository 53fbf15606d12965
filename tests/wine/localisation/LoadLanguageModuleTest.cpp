// LoadLanguageModule in a real process: the fallback chain over real files, the executable itself
// as the last resort, and the release of the module each switch replaces.
#include "ModuleFixture.h"
#include "RegistryLock.h"

#include <gtest/gtest.h>

using namespace attente::test;

namespace {

constexpr const char* kFrenchStatus = "Mise à jour des informations\r\n\r\nVeuillez patienter...";

struct TFileSpec {
    const char* Name;
    TContent Content;
};

struct TStepResult {
    const char* Source;   // file name of the resource source afterwards, or "instance" for the exe
    const char* Id;       // LanguageIdString read from it
    const char* Returned; // "source": the installed handle; "null": nothing installed
    const char* Previous; // "released", "kept", or "instance" when the exe's own image was the source
};

struct TLoadCase {
    const char* What;
    std::vector<TFileSpec> Files;
    std::vector<std::string> Steps; // "load <lcid> <tryEnglish>"
    std::vector<TStepResult> Expected;
    const char* Exe = "setup.exe";
};

void RunLoadCase(const TLoadCase& c) {
    SCOPED_TRACE(c.What);
    TRegistryLock lock;
    TTempFolder folder;
    folder.PutProbe(c.Exe);
    for (const TFileSpec& file : c.Files)
        folder.Put(file.Name, file.Content);
    const TProbeReport report = RunProbe(folder, folder.Full(c.Exe), c.Steps);
    ASSERT_EQ(report.ExitCode, 0u);
    // The start-up selection runs first under this process's locale; no fixture file matches it.
    ASSERT_EQ(report["startup.source"], "instance");
    for (std::size_t i = 0; i < c.Expected.size(); ++i) {
        const std::string step = "step" + std::to_string(i + 1);
        SCOPED_TRACE(step);
        const TStepResult& expected = c.Expected[i];
        EXPECT_EQ(report[step + ".source"], expected.Source);
        EXPECT_EQ(report[step + ".id"], expected.Id);
        EXPECT_EQ(report[step + ".returned"], expected.Returned);
        EXPECT_EQ(report[step + ".previous"], expected.Previous);
        if (std::string(expected.Id) == "FRA") {
            EXPECT_EQ(report[step + ".status"], kFrenchStatus);
        }
    }
}

const char* const kGerman = "load 0407 1";
const char* const kEnglish = "load 0409 1";

} // namespace

TEST(LoadLanguageModule, FallsBackFromRegionToLanguageToEnglishToTheExe) {
    using C = TContent;
    const TLoadCase cases[] = {
        {"two-letter module when the three-letter one is absent",
         {{"setup.DE", C::German}, {"setup.en", C::English}},
         {kGerman},
         {{"setup.DE", "DEU", "source", "instance"}}},
        {"English module found after en is looked for",
         {{"setup.eng", C::English}},
         {kGerman},
         {{"setup.eng", "ENU", "source", "instance"}}},
        {"a directory named setup.en does not count",
         {{"setup.en", C::Directory}, {"setup.eng", C::English}},
         {kGerman},
         {{"setup.eng", "ENU", "source", "instance"}}},
        {"en comes before enu",
         {{"setup.en", C::English}, {"setup.enu", C::German}},
         {kGerman},
         {{"setup.en", "ENU", "source", "instance"}}},
        {"English locale without its own module still tries the English names",
         {{"setup.eng", C::English}},
         {kEnglish},
         {{"setup.eng", "ENU", "source", "instance"}}},
        // The running exe opened as data is its own instance: the built-in texts, nothing to release.
        {"no module: the exe itself, French texts",
         {},
         {kGerman},
         {{"instance", "FRA", "source", "instance"}}},
        {"no English search without tryEnglish",
         {{"setup.en", C::English}},
         {"load 0407 0"},
         {{"instance", "FRA", "source", "instance"}}},
        {"an English file that fails the check counts as missing",
         {{"setup.en", C::Truncated}, {"setup.eng", C::English}},
         {kGerman},
         {{"setup.eng", "ENU", "source", "instance"}}},
        {"locale without an abbreviation installs nothing",
         {{"setup.en", C::English}},
         {"load 7777 1"},
         {{"instance", "FRA", "null", "instance"}}},
        {"extension-less exe under a dotted folder",
         {{"dir.DEU", C::German}},
         {kGerman},
         {{"dir.DEU", "DEU", "source", "instance"}},
         "dir.x\\setup"},
    };
    for (const TLoadCase& c : cases)
        RunLoadCase(c);
}

TEST(LoadLanguageModule, PassesOverBadModules) {
    using C = TContent;
    for (C bad : {C::Text, C::Truncated, C::Empty, C::Directory}) {
        SCOPED_TRACE(static_cast<int>(bad));
        RunLoadCase({"bad three-letter module",
                     {{"setup.DEU", bad}, {"setup.DE", C::German}},
                     {kGerman},
                     {{"setup.DE", "DEU", "source", "instance"}}});
        RunLoadCase({"bad modules only",
                     {{"setup.DEU", bad}, {"setup.DE", bad}},
                     {"load 0407 0"},
                     {{"instance", "FRA", "source", "instance"}}});
    }
    // Mapped as data files, these read as the file's bytes say, wherever the image would end.
    for (C crafted : {C::DataBeyondImage, C::ShrunkVirtualSize}) {
        SCOPED_TRACE(static_cast<int>(crafted));
        RunLoadCase({"crafted three-letter module",
                     {{"setup.DEU", crafted}, {"setup.DE", C::English}},
                     {kGerman},
                     {{"setup.DEU", "DEU", "source", "instance"}}});
    }
}

TEST(LoadLanguageModule, EachSwitchReleasesTheModuleItReplaces) {
    using C = TContent;
    const std::vector<TFileSpec> both = {{"setup.DEU", C::German}, {"setup.ENU", C::English}};
    const TLoadCase cases[] = {
        {"German then English",
         both,
         {kGerman, kEnglish},
         {{"setup.DEU", "DEU", "source", "instance"}, {"setup.ENU", "ENU", "source", "released"}}},
        {"the same language twice",
         both,
         {kGerman, kGerman},
         {{"setup.DEU", "DEU", "source", "instance"}, {"setup.DEU", "DEU", "source", "released"}}},
        {"falling back to the exe and switching on",
         both,
         {kGerman, "load 0411 0", kEnglish},
         {{"setup.DEU", "DEU", "source", "instance"},
          {"instance", "FRA", "source", "released"},
          {"setup.ENU", "ENU", "source", "instance"}}},
        {"a switch that installs nothing keeps the current module",
         both,
         {kGerman, "load 7777 1", kEnglish},
         {{"setup.DEU", "DEU", "source", "instance"},
          {"setup.DEU", "DEU", "null", "kept"},
          {"setup.ENU", "ENU", "source", "released"}}},
    };
    for (const TLoadCase& c : cases)
        RunLoadCase(c);
}
