// The start-up selection in a real process: setup.exe in a fresh folder, real modules and bad files
// beside it, real Locales registry entries, and the process's own thread locale.
#include "Handles.h"
#include "KeySecurity.h"
#include "LocaleOverride.h"
#include "ModuleFixture.h"
#include "ModuleProbe.h"
#include "RegistryLock.h"

#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace attente;
using namespace attente::test;

namespace {

constexpr const char* kFrenchStatus = "Mise à jour des informations\r\n\r\nVeuillez patienter...";
// The longest executable path the platform starts (MAX_PATH less the terminating zero).
constexpr std::size_t kLongestExePath = 259;
constexpr const char* kLongPathToken = "{long}";

struct TFileSpec {
    const char* Name; // relative to the folder; may hold {3}, {2} and {long}
    TContent Content;
};

struct TValueSpec {
    HKEY Root;
    const char* Name; // "{exe}": the long path of the started exe; "": the default value
    DWORD Type;
    std::string Data;
};

struct TStartupCase {
    const char* What;
    std::vector<TFileSpec> Files;
    const char* ExpectedSource; // file name of the resource source, "instance", or kUnnamedModule
    const char* ExpectedId;
    std::vector<TValueSpec> Values = {};
    std::vector<HKEY> EmptyKeys = {};
    const char* Exe = "setup.exe";
    bool MachineKeyReadOnly = false; // as a standard user meets it: query rights, no standard rights
};

// The per-machine key as a standard user meets it, until the end of the scope: owned by the system and
// granting everyone reading (and changing that grant back) only.
class TReadOnlyMachineKey {
  public:
    TReadOnlyMachineKey() {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_);
        AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system_);
        InitializeAcl(&acl_.Header, sizeof acl_, ACL_REVISION);
        AddAccessAllowedAce(&acl_.Header, ACL_REVISION, KEY_READ | WRITE_DAC, everyone_);
        Apply(&acl_.Header, system_);
    }
    ~TReadOnlyMachineKey() {
        // A null DACL grants everything again, so the entries can be removed.
        Apply(nullptr, nullptr);
        FreeSid(everyone_);
        FreeSid(system_);
    }
    TReadOnlyMachineKey(const TReadOnlyMachineKey&) = delete;
    TReadOnlyMachineKey& operator=(const TReadOnlyMachineKey&) = delete;

  private:
    static void Apply(ACL* dacl, PSID owner) {
        TRegKey key;
        const REGSAM access = owner ? WRITE_DAC | WRITE_OWNER : WRITE_DAC;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLocalesKey, 0, access, key.Receive()), ERROR_SUCCESS);
        EXPECT_EQ(SetKeySecurity(key.Get(), dacl, owner), ERROR_SUCCESS);
    }
    PSID everyone_ = nullptr;
    PSID system_ = nullptr;
    struct {
        ACL Header;
        BYTE Aces[64];
    } acl_{};
};

// A folder name that makes <folder>\<name>\setup.exe exactly kLongestExePath characters long.
std::string LongFolderName(const TTempFolder& folder) {
    const std::size_t used = folder.Path().size() + 1 + 1 + std::string("setup.exe").size();
    return std::string(kLongestExePath - used, 'L');
}

std::string Resolve(const TTempFolder& folder, const std::string& pattern) {
    std::string name = Expand(pattern);
    const std::size_t token = name.find(kLongPathToken);
    if (token != std::string::npos)
        name.replace(token, std::string(kLongPathToken).size(), LongFolderName(folder));
    return name;
}

void RunStartupCase(const TStartupCase& c) {
    SCOPED_TRACE(c.What);
    TRegistryLock lock;
    TTempFolder folder;
    const std::string exe = folder.Full(Resolve(folder, c.Exe));
    folder.PutProbe(Resolve(folder, c.Exe));
    for (const TFileSpec& file : c.Files)
        folder.Put(Resolve(folder, file.Name), file.Content);

    const bool machineOnly =
        !c.Values.empty() && c.Values.front().Root == HKEY_LOCAL_MACHINE && c.EmptyKeys.empty();
    if (machineOnly) {
        ASSERT_FALSE(LocalesKeyExists(HKEY_CURRENT_USER)) << "a per-user Locales key was left behind";
    }
    TLocalesEntries entries;
    for (HKEY root : c.EmptyKeys)
        entries.CreateKey(root);
    char longPath[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameA(exe.c_str(), longPath, MAX_PATH), 0u);
    for (const TValueSpec& value : c.Values)
        entries.Set(value.Root, std::string(value.Name) == "{exe}" ? longPath : value.Name, value.Type,
                    value.Data);

    std::optional<TReadOnlyMachineKey> readOnly;
    if (c.MachineKeyReadOnly) {
        readOnly.emplace();
        TRegKey refused;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLocalesKey, 0, 0xF0019, refused.Receive()),
                  ERROR_ACCESS_DENIED)
            << "this system does not enforce registry security";
    }

    const TProbeReport report = RunProbe(folder, exe);
    ASSERT_EQ(report.ExitCode, 0u);
    EXPECT_EQ(report["startup.source"], Expand(c.ExpectedSource));
    EXPECT_EQ(report["startup.id"], c.ExpectedId);
    if (std::string(c.ExpectedId) == "FRA") {
        EXPECT_EQ(report["startup.status"], kFrenchStatus);
    }
}

} // namespace

// Registered once per locale; the registration names the abbreviation it expects.
TEST(StartupByThreadLocale, RunsUnderTheLocaleItWasRegisteredFor) {
    const char* expected = std::getenv("ATTENTE_EXPECT_THREAD_ABBREV");
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(ThreadAbbrev(), expected);
}

TEST(StartupByThreadLocale, OpensTheFirstCandidateThatIsASoundModule) {
    using C = TContent;
    const TStartupCase cases[] = {
        {"no module: the exe's own resources", {}, "instance", "FRA"},
        {"three-letter module", {{"setup.{3}", C::German}}, "setup.{3}", "DEU"},
        {"only the two-letter module", {{"setup.{2}", C::German}}, "setup.{2}", "DEU"},
        {"three letters before two",
         {{"setup.{3}", C::English}, {"setup.{2}", C::German}},
         "setup.{3}",
         "ENU"},
        {"a copy of the exe serves as a module", {{"setup.{3}", C::Exe}}, "setup.{3}", "FRA"},
        {"directory named like a module",
         {{"setup.{3}", C::Directory}, {"setup.{2}", C::German}},
         "setup.{2}",
         "DEU"},
        {"text file named like a module",
         {{"setup.{3}", C::Text}, {"setup.{2}", C::German}},
         "setup.{2}",
         "DEU"},
        {"truncated module", {{"setup.{3}", C::Truncated}, {"setup.{2}", C::German}}, "setup.{2}", "DEU"},
        {"zero-byte module", {{"setup.{3}", C::Empty}, {"setup.{2}", C::German}}, "setup.{2}", "DEU"},
        {"only bad modules", {{"setup.{3}", C::Truncated}, {"setup.{2}", C::Empty}}, "instance", "FRA"},
        {"resource data beyond the image",
         {{"setup.{3}", C::DataBeyondImage}, {"setup.{2}", C::English}},
         "setup.{3}",
         "DEU"},
        {"section virtual size shrunk",
         {{"setup.{3}", C::ShrunkVirtualSize}, {"setup.{2}", C::English}},
         "setup.{3}",
         "DEU"},
        {"extension-less exe under a dotted folder",
         {{"dir.{3}", C::German}, {"dir.x\\setup.{3}", C::English}},
         "dir.{3}",
         "DEU",
         {},
         {},
         "dir.x\\setup"},
        // The only German file is the 259-character setup.{3}.
        {"exe path at the platform's limit",
         {{"{long}\\setup.{3}", C::German}},
         kUnnamedModule,
         "DEU",
         {},
         {},
         "{long}\\setup.exe"},
    };
    for (const TStartupCase& c : cases)
        RunStartupCase(c);
}

TEST(StartupOverride, RegistryEntryForTheExeComesBeforeTheThreadLocale) {
    using C = TContent;
    const HKEY user = HKEY_CURRENT_USER;
    const HKEY machine = HKEY_LOCAL_MACHINE;
    const std::vector<TFileSpec> english_german = {{"setup.ENU", C::English}, {"setup.{3}", C::German}};
    const std::string dwordEnu("ENU\0", 4); // what a raw read of the number 0x00554E45 would see
    const TStartupCase cases[] = {
        {"per-user entry", english_german, "setup.ENU", "ENU", {{user, "{exe}", REG_SZ, Sz("ENU")}}},
        {"per-user entry whose module is missing",
         {{"setup.{3}", C::German}},
         "setup.{3}",
         "DEU",
         {{user, "{exe}", REG_SZ, Sz("ENU")}}},
        {"default value of the per-user key",
         english_german,
         "setup.ENU",
         "ENU",
         {{user, "", REG_SZ, Sz("ENU")}}},
        {"named value before the default",
         {{"setup.DEU", C::German}, {"setup.ENU", C::English}},
         "setup.DEU",
         "DEU",
         {{user, "{exe}", REG_SZ, Sz("DEU")}, {user, "", REG_SZ, Sz("ENU")}}},
        {"entry naming the exe's own extension",
         english_german,
         "instance",
         "FRA",
         {{user, "{exe}", REG_SZ, Sz("exe")}}},
        {"entry of another exe",
         english_german,
         "setup.{3}",
         "DEU",
         {{user, "C:\\Elsewhere\\setup.exe", REG_SZ, Sz("ENU")}}},
        {"four characters fit",
         {{"setup.ENUX", C::English}, {"setup.{3}", C::German}},
         "setup.ENUX",
         "ENU",
         {{user, "{exe}", REG_SZ, Sz("ENUX")}}},
        {"five characters count as absent, so the default is read",
         {{"setup.ENUX", C::English}, {"setup.DEU", C::German}},
         "setup.DEU",
         "DEU",
         {{user, "{exe}", REG_SZ, Sz("ENUXY")}, {user, "", REG_SZ, Sz("DEU")}}},
        {"five characters and no default",
         {{"setup.ENUX", C::English}, {"setup.{3}", C::German}},
         "setup.{3}",
         "DEU",
         {{user, "{exe}", REG_SZ, Sz("ENUXY")}}},
        {"text stored without its zero",
         english_german,
         "setup.ENU",
         "ENU",
         {{user, "{exe}", REG_SZ, "ENU"}}},
        {"expandable text", english_german, "setup.ENU", "ENU", {{user, "{exe}", REG_EXPAND_SZ, Sz("ENU")}}},
        {"number", english_german, "setup.{3}", "DEU", {{user, "{exe}", REG_DWORD, dwordEnu}}},
        {"binary", english_german, "setup.{3}", "DEU", {{user, "{exe}", REG_BINARY, "ENU"}}},
        {"text list",
         english_german,
         "setup.{3}",
         "DEU",
         {{user, "{exe}", REG_MULTI_SZ, std::string("ENU\0\0", 5)}}},
        {"wrong type: no override, the default unread",
         {{"setup.ENU", C::English}, {"setup.{3}", C::German}},
         "setup.{3}",
         "DEU",
         {{user, "{exe}", REG_DWORD, dwordEnu}, {user, "", REG_SZ, Sz("ENU")}}},
        {"per-machine entry when there is no per-user key",
         english_german,
         "setup.ENU",
         "ENU",
         {{machine, "{exe}", REG_SZ, Sz("ENU")}}},
        {"per-machine default value when there is no per-user key",
         english_german,
         "setup.ENU",
         "ENU",
         {{machine, "", REG_SZ, Sz("ENU")}}},
        {"per-machine key that only grants reading",
         english_german,
         "setup.ENU",
         "ENU",
         {{machine, "{exe}", REG_SZ, Sz("ENU")}},
         {},
         "setup.exe",
         true},
        {"an empty per-user key hides the per-machine entry",
         english_german,
         "setup.{3}",
         "DEU",
         {{machine, "{exe}", REG_SZ, Sz("ENU")}},
         {user}},
        // ENUX makes a 260-character candidate: it fits the buffer but opens nothing, and is not cut
        // down to the setup.ENU beside it.
        {"four-character entry at the path limit",
         {{"{long}\\setup.ENU", C::English}, {"{long}\\setup.{3}", C::German}},
         kUnnamedModule,
         "DEU",
         {{user, "{exe}", REG_SZ, Sz("ENUX")}},
         {},
         "{long}\\setup.exe"},
    };
    for (const TStartupCase& c : cases)
        RunStartupCase(c);
}
