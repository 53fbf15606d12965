// The reading order of the error boxes, decided from the installed module on a French system. Wine's
// message box ignores MB_RTLREADING and MB_RIGHT (the box and its text keep their styles), so the
// flags are checked where they are decided, against the built modules and the platform's locale data.
#include "ReadingOrder.h"

#include "InitLangue.h"
#include "ModuleFiles.h"
#include "ModuleFixture.h"
#include "ResourceSource.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

constexpr UINT kRightToLeft = MB_RTLREADING | MB_RIGHT;

struct ReadingOrderCase {
    const char* module; // the built module installed, or null for the exe's own texts
    UINT flags;
};

void PrintTo(const ReadingOrderCase& c, std::ostream* os) {
    *os << (c.module ? c.module : "built-in");
}

void InstallBuilt(const char* module) {
    TDataModule opened = OpenModuleAsData(DistPath(std::string("attente.") + module));
    ASSERT_TRUE(opened);
    const HMODULE handle = opened.Module.Release();
    ASSERT_EQ(InstallResourceModule(handle), handle);
}

class ReadingOrder : public testing::TestWithParam<ReadingOrderCase> {
  protected:
    void SetUp() override {
        InitModuleRecord(GetModuleHandleA(nullptr));
        BuildLanguageTable();
    }
    void TearDown() override {
        ReleaseLanguageTable();
        ReleaseModuleRecord();
    }
};

TEST_P(ReadingOrder, FollowsTheInstalledTexts) {
    const ReadingOrderCase& c = GetParam();
    if (c.module) InstallBuilt(c.module);
    EXPECT_EQ(MessageBoxReadingOrder(), c.flags);
}

const ReadingOrderCase kCases[] = {
    {nullptr, 0}, {"DE", 0}, {"AR", kRightToLeft}, {"FA", kRightToLeft}, {"HE", kRightToLeft},
};

INSTANTIATE_TEST_SUITE_P(ErrorBoxes, ReadingOrder, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ReadingOrderCase>& info) {
                             return std::string(info.param.module ? info.param.module : "built_in");
                         });

} // namespace

TEST(ReadingOrderWithoutTable, IsLeftToRight) {
    InitModuleRecord(GetModuleHandleA(nullptr));
    InstallBuilt("HE");
    // Before the table exists the language cannot be told: the box still shows, left to right.
    EXPECT_EQ(MessageBoxReadingOrder(), 0u);
    ReleaseModuleRecord();
}
