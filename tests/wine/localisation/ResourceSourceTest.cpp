// The module record and resource reads in this process: this test exe carries the French string
// table, so its instance is a real "executable's own resources".
#include "ResourceSource.h"

#include "ModuleFiles.h"
#include "ModuleFixture.h"
#include "RegistryLock.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

constexpr UINT kNoSuchString = 4242;

bool IsMapped(HMODULE module) {
    MEMORY_BASIC_INFORMATION info{};
    void* view = reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
    // Committed pages are the mapping: Wine keeps the address range of a released image-resource view
    // reserved, so MEM_RESERVE there is no leak.
    return VirtualQuery(view, &info, sizeof info) != 0 && info.State == MEM_COMMIT;
}

class ResourceSource : public ::testing::Test {
  protected:
    void TearDown() override { ReleaseModuleRecord(); }
    TRegistryLock lock_;
};

} // namespace

TEST_F(ResourceSource, WithoutARecordNothingIsInstalled) {
    ReleaseModuleRecord();
    EXPECT_EQ(ExeModuleRecord(), nullptr);
    EXPECT_EQ(LoadLanguageModule(0x0407, true), nullptr);
    TTempFolder folder;
    folder.Put("setup.DEU", TContent::German);
    TDataModule module = OpenModuleAsData(folder.Full("setup.DEU"));
    ASSERT_TRUE(module);
    // Refused, so the caller still owns its reference.
    EXPECT_EQ(InstallResourceModule(module.Module.Get()), nullptr);
    EXPECT_TRUE(IsMapped(module.Module.Get()));
    EXPECT_EQ(FindResourceHInstance(), GetModuleHandleA(nullptr));
}

TEST_F(ResourceSource, FirstReadMakesTheStartupSelection) {
    InitModuleRecord(GetModuleHandleA(nullptr));
    ASSERT_NE(ExeModuleRecord(), nullptr);
    EXPECT_EQ(ExeModuleRecord()->ResourceSource, nullptr);
    // No module lies beside the test exe, so the selection settles on the instance.
    EXPECT_EQ(LoadResStringW(kStatusTextString),
              L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...");
    EXPECT_EQ(ExeModuleRecord()->ResourceSource, GetModuleHandleA(nullptr));
    EXPECT_EQ(LoadResStringA(kLanguageIdString), "FRA");
    EXPECT_EQ(LoadResStringA(kErrorTitleString), "Erreur d'application");
}

TEST_F(ResourceSource, MissingStringsReadAsEmpty) {
    InitModuleRecord(GetModuleHandleA(nullptr));
    EXPECT_EQ(LoadResStringW(kNoSuchString), L"");
    EXPECT_EQ(LoadResStringA(kNoSuchString), "");
}

TEST_F(ResourceSource, OtherModulesAreTheirOwnSource) {
    InitModuleRecord(GetModuleHandleA(nullptr));
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(FindResourceHInstance(kernel), kernel);
    EXPECT_EQ(FindResourceHInstance(GetModuleHandleA(nullptr)), ExeModuleRecord()->ResourceSource);
}

TEST_F(ResourceSource, InstalledModuleServesReadsAndIsReleasedWithTheRecord) {
    InitModuleRecord(GetModuleHandleA(nullptr));
    TTempFolder folder;
    folder.Put("setup.DEU", TContent::German);
    TDataModule module = OpenModuleAsData(folder.Full("setup.DEU"));
    ASSERT_TRUE(module);
    const HMODULE german = module.Module.Release();
    EXPECT_EQ(InstallResourceModule(german), german);
    EXPECT_EQ(FindResourceHInstance(), german);
    EXPECT_EQ(LoadResStringA(kLanguageIdString), "DEU");
    EXPECT_EQ(LoadResStringW(kErrorTitleString), L"Anwendungsfehler");

    // Back to the instance: the module goes, the built-in texts return.
    EXPECT_EQ(InstallResourceModule(GetModuleHandleA(nullptr)), GetModuleHandleA(nullptr));
    EXPECT_FALSE(IsMapped(german));
    EXPECT_EQ(LoadResStringA(kLanguageIdString), "FRA");

    module = OpenModuleAsData(folder.Full("setup.DEU"));
    const HMODULE again = module.Module.Release();
    InstallResourceModule(again);
    ReleaseModuleRecord();
    EXPECT_FALSE(IsMapped(again));
    EXPECT_EQ(ExeModuleRecord(), nullptr);
}
