// The per-executable registry entry read by a real process named setup.exe, with the per-user copy
// checked afterwards; every entry type and size that a user or installer could leave there.
#include "KeySecurity.h"
#include "LocaleEntries.h"
#include "LocaleOverride.h"
#include "ModuleLocaleOverride.h"
#include "ProbeFolder.h"
#include "RegistryLock.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

using attente::kLocalesKey;
using namespace attente::test;

namespace {

struct TEntry {
    DWORD Type;
    std::string Data;
};

TEntry Sz(const std::string& text) {
    return {REG_SZ, SzData(text)};
}
TEntry Dword(DWORD value) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

struct OverrideCase {
    const char* name;
    std::optional<TEntry> user;
    std::optional<TEntry> machine;
    std::string expected;
    std::optional<TEntry> userAfter; // empty: no per-user entry afterwards, unless kept
    bool userKept = false;           // the per-user entry is left exactly as it was
};

void PrintTo(const OverrideCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kHugeUser(100000, 'e');
const std::string kHugeMachine = std::string(70000, 'd') + "eu";

const OverrideCase kCases[] = {
    {"no_entry", {}, {}, "", {}},
    {"user_entry_in_capitals", Sz("enu"), Sz("deu"), "ENU", Sz("enu")},
    {"machine_entry_copied_to_the_user_as_read", {}, Sz("Deu"), "DEU", Sz("Deu")},
    {"empty_user_entry_falls_to_the_machine", Sz(""), Sz("fra"), "FRA", Sz("fra")},
    {"binary_user_entry_gives_nothing_and_stays", TEntry{REG_BINARY, "\x01\x02"}, Sz("deu"), "",
     TEntry{REG_BINARY, "\x01\x02"}},
    {"dword_user_entry_gives_nothing_and_stays", Dword(0x409), Sz("deu"), "", Dword(0x409)},
    {"empty_binary_user_entry_reads_as_empty", TEntry{REG_BINARY, ""}, Sz("deu"), "DEU", Sz("deu")},
    {"expandable_user_entry_is_not_expanded",
     TEntry{REG_EXPAND_SZ, SzData("%X%enu")},
     {},
     "%X%ENU",
     TEntry{REG_EXPAND_SZ, SzData("%X%enu")}},
    {"binary_machine_entry_gives_nothing_and_is_not_copied", {}, TEntry{REG_BINARY, "enu"}, "", {}},
    {"dword_machine_entry_gives_nothing_and_is_not_copied", {}, Dword(0x407), "", {}},
    {"expandable_machine_entry_copied_as_plain_text",
     {},
     TEntry{REG_EXPAND_SZ, SzData("deu")},
     "DEU",
     Sz("deu")},
    {"huge_user_entry_read_whole", Sz(kHugeUser), {}, std::string(100000, 'E'), Sz(kHugeUser)},
    {"huge_machine_entry_copied_whole",
     {},
     Sz(kHugeMachine),
     std::string(70000, 'D') + "EU",
     Sz(kHugeMachine)},
    {"user_entry_without_terminating_zero", TEntry{REG_SZ, "enu"}, {}, "ENU", {}, true},
    {"user_entry_ends_at_its_first_zero", TEntry{REG_SZ, std::string("en\0u\0", 5)}, {}, "EN", {}, true},
    {"machine_entry_copied_up_to_its_first_zero",
     {},
     TEntry{REG_SZ, std::string("de\0u\0", 5)},
     "DE",
     Sz("de")},
    {"only_a_to_z_change_case", Sz("d\xE9u"), {}, "D\xE9U", Sz("d\xE9u")},
};

// The per-user key with a security descriptor that grants nobody anything: it can be neither opened
// nor created by the program. Its owner may still change that descriptor, which is how it goes again.
class TRefusingUserKey {
  public:
    TRefusingUserKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kLocalesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        ACL denyAll;
        InitializeAcl(&denyAll, sizeof denyAll, ACL_REVISION);
        EXPECT_EQ(SetKeySecurity(key, &denyAll), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    ~TRefusingUserKey() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kLocalesKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            SetKeySecurity(key, nullptr);
            RegCloseKey(key);
        }
        DeleteLocalesKey(HKEY_CURRENT_USER);
    }
    TRefusingUserKey(const TRefusingUserKey&) = delete;
    TRefusingUserKey& operator=(const TRefusingUserKey&) = delete;
};

class LocaleOverride : public testing::TestWithParam<OverrideCase> {};

TEST_P(LocaleOverride, ReadsAndMaintainsTheEntry) {
    const OverrideCase& c = GetParam();
    const TRegistryLock lock;
    TProbeFolder folder;
    const TLocaleEntries entries(folder.ExePath());
    if (c.user) entries.Set(HKEY_CURRENT_USER, c.user->Type, c.user->Data);
    if (c.machine) entries.Set(HKEY_LOCAL_MACHINE, c.machine->Type, c.machine->Data);

    const TRawValue userBefore = entries.Read(HKEY_CURRENT_USER);

    const TProbeResult result = folder.Run("override");
    ASSERT_EQ(result.ExitCode, 0u) << result.Raw;
    ASSERT_EQ(result.Values.at("ExePath"), folder.ExePath());
    EXPECT_EQ(result.Values.at("ModuleLocale"), c.expected);

    const TRawValue user = entries.Read(HKEY_CURRENT_USER);
    if (c.userKept) {
        EXPECT_TRUE(user.Exists);
        EXPECT_EQ(user.Type, userBefore.Type);
        EXPECT_EQ(user.Data, userBefore.Data);
        return;
    }
    ASSERT_EQ(user.Exists, c.userAfter.has_value());
    if (c.userAfter) {
        EXPECT_EQ(user.Type, c.userAfter->Type);
        EXPECT_EQ(user.Data, c.userAfter->Data);
    }
    if (c.machine) {
        EXPECT_EQ(entries.Read(HKEY_LOCAL_MACHINE).Data, c.machine->Data);
    }
}

INSTANTIATE_TEST_SUITE_P(Startup, LocaleOverride, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OverrideCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

TEST(LocaleOverrideKey, MissingUserKeyIsCreatedForTheMachineEntry) {
    const TRegistryLock lock;
    TProbeFolder folder;
    const TLocaleEntries entries(folder.ExePath());
    DeleteLocalesKey(HKEY_CURRENT_USER);
    ASSERT_FALSE(LocalesKeyExists(HKEY_CURRENT_USER));
    entries.SetText(HKEY_LOCAL_MACHINE, "enu");

    const TProbeResult result = folder.Run("override");
    EXPECT_EQ(result.Values.at("ModuleLocale"), "ENU");
    EXPECT_TRUE(LocalesKeyExists(HKEY_CURRENT_USER));
    const TRawValue user = entries.Read(HKEY_CURRENT_USER);
    EXPECT_TRUE(user.Exists);
    EXPECT_EQ(user.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(user.Data, SzData("enu"));
}

TEST(LocaleOverrideKey, UserKeyThatCannotBeOpenedOrCreatedIsNoFailure) {
    const TRegistryLock lock;
    TProbeFolder folder;
    const TLocaleEntries entries(folder.ExePath());
    DeleteLocalesKey(HKEY_CURRENT_USER);
    entries.SetText(HKEY_LOCAL_MACHINE, "deu");
    {
        const TRefusingUserKey refusing;
        HKEY probe = nullptr;
        ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kLocalesKey, 0, KEY_QUERY_VALUE, &probe), ERROR_SUCCESS)
            << "this system does not enforce registry security";
        const TProbeResult result = folder.Run("override");
        EXPECT_EQ(result.ExitCode, 0u);
        EXPECT_EQ(result.Values.at("ModuleLocale"), "DEU");
    }
    EXPECT_FALSE(LocalesKeyExists(HKEY_CURRENT_USER));
}

TEST(LocaleOverrideKey, EntriesOfOtherExecutablesAreNotConsulted) {
    const TRegistryLock lock;
    TProbeFolder folder;
    const TLocaleEntries other(folder.File("other.exe"));
    other.SetText(HKEY_CURRENT_USER, "enu");
    other.SetText(HKEY_LOCAL_MACHINE, "deu");
    const TLocaleEntries own(folder.ExePath());
    EXPECT_EQ(folder.Run("override").Values.at("ModuleLocale"), "");
    EXPECT_FALSE(own.Read(HKEY_CURRENT_USER).Exists);
}

// Started through an 8.3 path, the platform reports that path; installers write the long one.
TEST(LocaleOverrideKey, EntryCountsUnderThePathAsReportedElseUnderItsLongForm) {
    struct TCase {
        const char* What;
        const char* UserShort;
        const char* UserLong;
        const char* MachineLong;
        const char* Expected;
        const char* CopiedUnderShort; // the per-user value under the short name afterwards; null: none
        const char* AtStartUp;        // the start-up selection's override; null: not asked
    };
    // Resolution looks under the path as reported first, the start-up selection under the long form.
    const TCase cases[] = {
        {"entry under the long path", nullptr, "deu", nullptr, "DEU", nullptr, "deu"},
        {"entry under the short path", "enu", nullptr, nullptr, "ENU", "enu", "enu"},
        {"the path as reported first", "enu", "deu", nullptr, "ENU", "enu", "deu"},
        // Whether the start-up selection reads the machine key depends on whether the per-user key exists.
        {"machine entry under the long path, copied under the name as reported", nullptr, nullptr, "ita",
         "ITA", "ita", nullptr},
        {"no entry", nullptr, nullptr, nullptr, "", nullptr, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TRegistryLock lock;
        TTempFolder folder(" Long Folder.Name");
        folder.Write("setup.exe", "not run");
        const std::string longPath = folder.File("setup.exe");
        wchar_t buffer[MAX_PATH] = {};
        ASSERT_GT(GetShortPathNameW(attente::Utf8ToWide(longPath).c_str(), buffer, MAX_PATH), 0u);
        const std::string shortPath = attente::WideToUtf8(buffer);
        ASSERT_NE(shortPath, longPath) << "the platform made no 8.3 name";
        const TLocaleEntries underShort(shortPath);
        const TLocaleEntries underLong(longPath);
        if (c.UserShort) underShort.SetText(HKEY_CURRENT_USER, c.UserShort);
        if (c.UserLong) underLong.SetText(HKEY_CURRENT_USER, c.UserLong);
        if (c.MachineLong) underLong.SetText(HKEY_LOCAL_MACHINE, c.MachineLong);

        RemoveLocalesDefaultValue(HKEY_CURRENT_USER);
        if (c.AtStartUp) EXPECT_EQ(attente::ReadStartupOverride(shortPath), c.AtStartUp);
        EXPECT_EQ(attente::GetModuleLocaleOverride(&shortPath), c.Expected);
        // From the next run on, the start-up selection finds the per-user copy, under the name as reported.
        if (c.CopiedUnderShort)
            EXPECT_EQ(attente::ReadStartupOverride(shortPath),
                      c.AtStartUp ? c.AtStartUp : c.CopiedUnderShort);
        const TRawValue copied = underShort.Read(HKEY_CURRENT_USER);
        EXPECT_EQ(copied.Exists, c.CopiedUnderShort != nullptr);
        if (c.CopiedUnderShort) EXPECT_EQ(copied.Data, SzData(c.CopiedUnderShort));
    }
}
