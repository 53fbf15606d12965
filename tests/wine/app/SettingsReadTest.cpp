// The language request from real command lines and settings files, read by a real process.
#include "ProbeFolder.h"

#include <gtest/gtest.h>

using namespace attente::test;

namespace {

struct SettingsCase {
    const char* name;
    std::string arguments; // after argument 0
    std::string settings;  // setup.ini content; empty: no file
    std::string requested; // RequestedLanguage afterwards
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kEnuSettings = "[General]\r\nLanguage=enu\r\n";

const SettingsCase kCases[] = {
    {"lower_case_switch_is_upper_cased", "/l=deu", "", "DEU"},
    {"empty_switch_value_consults_the_settings_file", "/L=", kEnuSettings, "enu"},
    {"switch_without_equals_is_no_switch", "/L", "", ""},
    {"switch_without_equals_consults_the_settings_file", "/L", kEnuSettings, "enu"},
    {"first_of_two_switches_counts", "/L=ENU /L=DEU", "", "ENU"},
    {"settings_file_value_kept_as_written", "", kEnuSettings, "enu"},
    {"nothing_anywhere_stays_empty", "", "", ""},
    {"command_line_wins_over_the_settings_file", "/L=deu", kEnuSettings, "DEU"},
    {"other_arguments_are_passed_over", "/X \"\" /L=deu /RUN=go.exe", "", "DEU"},
    // Everything after /RUN= is the command's own, our switch names included.
    {"arguments_after_run_are_its_command", "/RUN=go.exe /L=deu", "", ""},
    {"unterminated_quote_runs_to_the_end", "\"/L=de u", "", "DE U"},
    {"control_character_separates", "/L=de\x01u", "", "DE"},
    {"non_ascii_letters_are_not_upper_cased", "/L=d\xE9u", "", "D\xE9U"},
    {"empty_settings_value", "", "[General]\r\nLanguage=\r\n", ""},
    {"other_section_is_not_read", "", "[Other]\r\nLanguage=enu\r\n", ""},
    {"settings_value_keeps_its_case_and_text", "", "[General]\r\nLanguage=XyZ\r\n", "XyZ"},
};

class SettingsRead : public testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsRead, GivesTheRequestedLanguage) {
    const SettingsCase& c = GetParam();
    TProbeFolder folder;
    if (!c.settings.empty()) folder.Write("setup.ini", c.settings);
    const TProbeResult result = folder.Run("settings", c.arguments);
    ASSERT_EQ(result.ExitCode, 0u) << result.Raw;
    EXPECT_EQ(result.Values.at("ReadCommandLine"), "1");
    EXPECT_EQ(result.Values.at("RequestedLanguage"), c.requested);
}

INSTANTIATE_TEST_SUITE_P(Startup, SettingsRead, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SettingsCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

TEST(SettingsRead, SettingsFileIsBesideTheExecutableAndProgramPathIsNoSwitch) {
    TProbeFolder folder;
    const TProbeResult result = folder.Run("settings", "/L=deu /RUN=C:\\Setup\\Go.exe");
    EXPECT_EQ(result.Values.at("ExePath"), folder.ExePath());
    EXPECT_EQ(result.Values.at("SettingsPath"), folder.File("setup.ini"));
    EXPECT_EQ(result.Values.at("SwitchCount"), "2");
    EXPECT_EQ(result.Values.at("RunRaw"), "C:\\Setup\\Go.exe");
}

TEST(SettingsRead, ArgumentZeroIsNeverASwitchWhateverItSays) {
    TProbeFolder folder;
    const TProbeResult result = RunProbe(folder.ExePath(), "/L=ENU", {{{"ATTENTE_PROBE", "settings"}}});
    EXPECT_EQ(result.Values.at("SwitchCount"), "0");
    EXPECT_EQ(result.Values.at("RequestedLanguage"), "");
}

TEST(SettingsRead, VeryLongSwitchValueIsTakenWhole) {
    TProbeFolder folder;
    const std::string value(5000, 'x');
    const TProbeResult result = folder.Run("settings", "/L=" + value);
    ASSERT_EQ(result.ExitCode, 0u);
    EXPECT_EQ(result.Values.at("RequestedLanguage"), std::string(5000, 'X'));
}

TEST(SettingsRead, SettingsValueIsCutAt2047Characters) {
    TProbeFolder folder;
    folder.Write("setup.ini", "[General]\r\nLanguage=" + std::string(3000, 'e') + "\r\n");
    const TProbeResult result = folder.Run("settings");
    ASSERT_EQ(result.ExitCode, 0u);
    EXPECT_EQ(result.Values.at("RequestedLanguage"), std::string(2047, 'e'));
}

TEST(SettingsRead, SettingsDirectoryIsNoSettingsFile) {
    TProbeFolder folder;
    folder.MakeFolder("setup.ini");
    folder.Write("setup.ini\\Language", "enu");
    const TProbeResult result = folder.Run("settings");
    ASSERT_EQ(result.ExitCode, 0u);
    EXPECT_EQ(result.Values.at("RequestedLanguage"), "");
}
