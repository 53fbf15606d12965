// Extension replacement and file-name extraction on Windows paths.
#include "PathRules.h"

#include <gtest/gtest.h>

using namespace attente;

namespace {

bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace

TEST(PathRules, ReplacesTheExtensionAfterTheLastDirectory) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\dir\\setup.exe", "C:\\dir\\setup.ini"},
        {"C:\\dir\\setup.tar.gz", "C:\\dir\\setup.tar.ini"},
        {"C:\\dir.v2\\setup", "C:\\dir.v2\\setup.ini"},
        {"C:setup.exe", "C:setup.ini"},
        {"C:.\\setup", "C:.\\setup.ini"},
        {"D:a.b:c", "D:a.b:c.ini"},
        {"C:\\dir\\.exe", "C:\\dir\\.ini"},
        {"C:\\dir\\setup.", "C:\\dir\\setup.ini"},
        {"\\\\server\\share.x\\setup", "\\\\server\\share.x\\setup.ini"},
        {"setup", "setup.ini"},
        {"", ".ini"},
        {"C:/dir.x/setup", "C:/dir.ini"}, // only backslash and colon end a directory
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ReplaceExtension(c.path, ".ini"), c.expected);
    }
}

TEST(PathRules, TrailByteBackslashDoesNotEndTheDirectory) {
    // "set." followed by a two-byte character whose trail byte is 0x5C.
    const std::string path = "C:\\dir\\set.\x95\x5C";
    EXPECT_EQ(ReplaceExtension(path, ".ini", ShiftJisLead), "C:\\dir\\set.ini");
    EXPECT_EQ(ReplaceExtension(path, ".ini"), path + ".ini");
    EXPECT_EQ(ReplaceExtension("C:\\d.x\\\x95", ".ini", ShiftJisLead), "C:\\d.x\\\x95.ini");
}

TEST(PathRules, ExtractsTheFileName) {
    EXPECT_EQ(ExtractFileName(L"C:\\dir\\setup.exe"), L"setup.exe");
    EXPECT_EQ(ExtractFileName(L"C:setup.exe"), L"setup.exe");
    EXPECT_EQ(ExtractFileName(L"setup.exe"), L"setup.exe");
    EXPECT_EQ(ExtractFileName(L"C:\\dir\\"), L"");
    EXPECT_EQ(ExtractFileName(L""), L"");
}

TEST(PathRules, ExtractsTheFileTitle) {
    EXPECT_EQ(ExtractFileTitle(L"C:\\dir.x\\setup.exe"), L"setup");
    EXPECT_EQ(ExtractFileTitle(L"C:\\dir.x\\setup"), L"setup");
    EXPECT_EQ(ExtractFileTitle(L"C:\\dir\\setup.tar.gz"), L"setup.tar");
    EXPECT_EQ(ExtractFileTitle(L""), L"");
}
