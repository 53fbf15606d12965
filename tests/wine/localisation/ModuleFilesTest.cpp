// The file and path calls behind module loading, in this process against real files.
#include "ModuleFiles.h"

#include "ModuleFixture.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

bool IsMapped(HMODULE module) {
    MEMORY_BASIC_INFORMATION info{};
    void* view = reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
    // Committed pages are the mapping: Wine keeps the address range of a released image-resource view
    // reserved, so MEM_RESERVE there is no leak.
    return VirtualQuery(view, &info, sizeof info) != 0 && info.State == MEM_COMMIT;
}

} // namespace

TEST(ModuleFiles, TruncatedExecutablePathCountsAsNone) {
    char full[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, full, MAX_PATH);
    ASSERT_GT(length, 5u);
    EXPECT_EQ(ModulePath(nullptr), full);
    EXPECT_EQ(ModulePath(nullptr, length + 1), full);
    // The platform returns the buffer size (and may or may not say so in the error code).
    EXPECT_EQ(ModulePath(nullptr, length), "");
    EXPECT_EQ(ModulePath(nullptr, 5), "");
}

TEST(ModuleFiles, OnlySoundModulesOpen) {
    struct Case {
        TContent Content;
        const char* Id; // what string 65173 reads, or null when the file must not open
    };
    const Case cases[] = {
        {TContent::German, "DEU"},
        {TContent::English, "ENU"},
        {TContent::Exe, "FRA"},
        {TContent::DataBeyondImage, "DEU"},
        {TContent::ShrunkVirtualSize, "DEU"},
        // Read otherwise by the platform's lookups than by one walk of the tree.
        {TContent::TwoLanguages, nullptr},
        {TContent::ZeroInName, nullptr},
        {TContent::Text, nullptr},
        {TContent::Truncated, nullptr},
        {TContent::Empty, nullptr},
        {TContent::Directory, nullptr},
    };
    TTempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Content));
        const std::string name = "module" + std::to_string(static_cast<int>(c.Content));
        folder.Put(name, c.Content);
        const std::string path = folder.Full(name);
        TDataModule module = OpenModuleAsData(path);
        ASSERT_EQ(static_cast<bool>(module), c.Id != nullptr);
        if (!module) continue;
        char id[8] = {};
        LoadStringA(module.Module.Get(), 65173, id, sizeof id);
        EXPECT_STREQ(id, c.Id);
        // Opened as data: no loaded module of the process.
        EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
        // Its file stays closed to writers and deleters while the module is open.
        EXPECT_FALSE(TFile(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr)));
        EXPECT_FALSE(DeleteFileA(path.c_str()));
    }
    EXPECT_FALSE(OpenModuleAsData(folder.Full("missing.DEU")));
}

TEST(ModuleFiles, ExistenceMeansAFileNotADirectory) {
    TTempFolder folder;
    folder.Put("setup.en", TContent::Directory);
    folder.Put("setup.eng", TContent::Empty);
    EXPECT_FALSE(FileExists(folder.Full("setup.en")));
    EXPECT_TRUE(FileExists(folder.Full("setup.eng")));
    EXPECT_FALSE(FileExists(folder.Full("setup.enu")));
}

TEST(ModuleFiles, LongPathNamesTheRegistryValueWhateverFormThePathCameIn) {
    TTempFolder folder;
    folder.Put("A Folder With A Long Name\\setup.exe", TContent::Empty);
    const std::string longForm = folder.Full("A Folder With A Long Name\\setup.exe");
    char shortForm[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(longForm.c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_NE(std::string(shortForm), longForm) << "no 8.3 alias here";
    EXPECT_EQ(LongPathOf(shortForm), longForm);
    EXPECT_EQ(LongPathOf(longForm), longForm);
    // A path that cannot be resolved stays as it was.
    EXPECT_EQ(LongPathOf(folder.Full("missing.DEU")), folder.Full("missing.DEU"));
}

TEST(ModuleFiles, LocaleAbbreviationsComeFromThePlatform) {
    EXPECT_EQ(LocaleAbbrev(0x0407), "DEU");
    EXPECT_EQ(LocaleAbbrev(0x0409), "ENU");
    EXPECT_EQ(LocaleAbbrev(0x040C), "FRA");
    EXPECT_EQ(LocaleAbbrev(0x7777), "");
}

TEST(Handles, ModuleOwnerReleasesItsViewOnceAndHandsItOverOnMove) {
    TTempFolder folder;
    folder.Put("setup.DEU", TContent::German);
    HMODULE raw = nullptr;
    {
        TModule first = std::move(OpenModuleAsData(folder.Full("setup.DEU")).Module);
        ASSERT_TRUE(first);
        raw = first.Get();
        TModule second = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        EXPECT_TRUE(IsMapped(raw));
    }
    EXPECT_FALSE(IsMapped(raw));

    TModule kept = std::move(OpenModuleAsData(folder.Full("setup.DEU")).Module);
    HMODULE released = kept.Release();
    EXPECT_FALSE(kept);
    EXPECT_TRUE(IsMapped(released));
    FreeLibrary(released);
}
