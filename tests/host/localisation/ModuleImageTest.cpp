// The module check against images built here byte by byte: a sound one, every truncation of it, and
// one damaged field at a time. Under ASan any read outside the image fails the test.
#include "ModuleImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace attente;

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(TBytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Where things sit in the image the builder makes, for the damage table.
struct TLayout {
    static constexpr std::size_t PeHeader = 0x40;
    static constexpr std::size_t FileHeader = PeHeader + 4;
    static constexpr std::size_t OptionalHeader = FileHeader + 20;
    std::size_t DirectoryCount = 0;
    std::size_t ResourceDirectory = 0; // the data-directory entry: RVA, size
    std::size_t Section = 0;           // the section header
    static constexpr std::size_t Rsrc = 0x200;
    static constexpr std::uint32_t RsrcRva = 0x1000;
    static constexpr std::size_t RsrcRawSize = 0x200;
    // Offsets inside the resource section.
    static constexpr std::size_t Root = 0x00;
    static constexpr std::size_t StringNames = 0x20;
    static constexpr std::size_t StringLangs = 0x38;
    static constexpr std::size_t DataNames = 0x50;
    static constexpr std::size_t DataLangs = 0x68;
    static constexpr std::size_t StringEntry = 0x80;
    static constexpr std::size_t DataEntry = 0x90;
    static constexpr std::size_t Name = 0xA0;
    static constexpr std::size_t StringBlock = 0xB0;
    static constexpr std::size_t StringBlockSize = 16 * 2 + 3 * 2;
    static constexpr std::size_t Data = 0xD8;
    static constexpr std::size_t DataSize = 8;
};

void PutDirectory(TBytes& b, std::size_t at, std::uint16_t named, std::uint16_t ids) {
    Put16(b, at + 12, named);
    Put16(b, at + 14, ids);
}
void PutEntry(TBytes& b, std::size_t dir, int index, std::uint32_t name, std::uint32_t target) {
    Put32(b, dir + 16 + index * 8, name);
    Put32(b, dir + 16 + index * 8 + 4, target);
}

// A PE image with one .rsrc section: a string block holding "FRA" as its last string, and an RCDATA
// named TFORM1.
TBytes BuildImage(TLayout& layout, bool pe32Plus = false) {
    TBytes b(TLayout::Rsrc + TLayout::RsrcRawSize, 0);
    Put16(b, 0, 0x5A4D);
    Put32(b, 0x3C, TLayout::PeHeader);
    Put32(b, TLayout::PeHeader, 0x00004550);
    Put16(b, TLayout::FileHeader, pe32Plus ? 0x8664 : 0x014C);
    Put16(b, TLayout::FileHeader + 2, 1);
    const std::size_t optionalSize = pe32Plus ? 240 : 224;
    Put16(b, TLayout::FileHeader + 16, static_cast<std::uint32_t>(optionalSize));
    Put16(b, TLayout::OptionalHeader, pe32Plus ? 0x20B : 0x10B);
    layout.DirectoryCount = TLayout::OptionalHeader + (pe32Plus ? 108 : 92);
    Put32(b, layout.DirectoryCount, 16);
    layout.ResourceDirectory = layout.DirectoryCount + 4 + 2 * 8;
    Put32(b, layout.ResourceDirectory, TLayout::RsrcRva);
    Put32(b, layout.ResourceDirectory + 4, 0xE0);
    layout.Section = TLayout::OptionalHeader + optionalSize;
    std::memcpy(&b[layout.Section], ".rsrc", 5);
    Put32(b, layout.Section + 8, 0xE0);
    Put32(b, layout.Section + 12, TLayout::RsrcRva);
    Put32(b, layout.Section + 16, TLayout::RsrcRawSize);
    Put32(b, layout.Section + 20, TLayout::Rsrc);

    const std::size_t r = TLayout::Rsrc;
    constexpr std::uint32_t subdirectory = 0x80000000u;
    PutDirectory(b, r + TLayout::Root, 0, 2);
    PutEntry(b, r + TLayout::Root, 0, 6, subdirectory | TLayout::StringNames);
    PutEntry(b, r + TLayout::Root, 1, 10, subdirectory | TLayout::DataNames);
    PutDirectory(b, r + TLayout::StringNames, 0, 1);
    PutEntry(b, r + TLayout::StringNames, 0, 0xFEA, subdirectory | TLayout::StringLangs);
    PutDirectory(b, r + TLayout::StringLangs, 0, 1);
    PutEntry(b, r + TLayout::StringLangs, 0, 0x40C, TLayout::StringEntry);
    PutDirectory(b, r + TLayout::DataNames, 1, 0);
    PutEntry(b, r + TLayout::DataNames, 0, subdirectory | TLayout::Name, subdirectory | TLayout::DataLangs);
    PutDirectory(b, r + TLayout::DataLangs, 0, 1);
    PutEntry(b, r + TLayout::DataLangs, 0, 0x40C, TLayout::DataEntry);
    Put32(b, r + TLayout::StringEntry, TLayout::RsrcRva + TLayout::StringBlock);
    Put32(b, r + TLayout::StringEntry + 4, TLayout::StringBlockSize);
    Put32(b, r + TLayout::DataEntry, TLayout::RsrcRva + TLayout::Data);
    Put32(b, r + TLayout::DataEntry + 4, TLayout::DataSize);
    const std::string name = "TFORM1";
    Put16(b, r + TLayout::Name, static_cast<std::uint32_t>(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i)
        Put16(b, r + TLayout::Name + 2 + 2 * i, name[i]);
    const std::size_t last = r + TLayout::StringBlock + 15 * 2;
    Put16(b, last, 3);
    Put16(b, last + 2, 'F');
    Put16(b, last + 4, 'R');
    Put16(b, last + 6, 'A');
    return b;
}

bool IsSound(const TBytes& b) {
    return IsSoundResourceImage(b.data(), b.size());
}

} // namespace

TEST(ModuleImage, AcceptsSoundImagesOfBothWidths) {
    for (bool pe32Plus : {false, true}) {
        TLayout layout;
        EXPECT_TRUE(IsSound(BuildImage(layout, pe32Plus))) << "PE32+ " << pe32Plus;
    }
}

TEST(ModuleImage, AcceptsAnImageWithoutResources) {
    TLayout layout;
    TBytes b = BuildImage(layout);
    Put32(b, layout.ResourceDirectory, 0);
    EXPECT_TRUE(IsSound(b));
    TBytes few = BuildImage(layout);
    Put32(few, layout.DirectoryCount, 2); // the resource directory is not among those present
    EXPECT_TRUE(IsSound(few));
}

TEST(ModuleImage, RejectsEveryTruncation) {
    TLayout layout;
    const TBytes full = BuildImage(layout);
    for (std::size_t size = 0; size < full.size(); ++size) {
        const TBytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(IsSound(cut)) << "cut to " << size;
    }
    EXPECT_FALSE(IsSoundResourceImage(nullptr, 0));
}

TEST(ModuleImage, RejectsOneDamagedFieldAtATime) {
    struct Case {
        const char* what;
        std::function<void(TBytes&, const TLayout&)> damage;
    };
    const std::size_t r = TLayout::Rsrc;
    const Case cases[] = {
        {"not MZ", [](TBytes& b, const TLayout&) { b[0] = 'Z'; }},
        {"text file", [](TBytes& b, const TLayout&) { std::fill(b.begin(), b.end(), 'x'); }},
        {"new header beyond the file", [](TBytes& b, const TLayout&) { Put32(b, 0x3C, 0xFFFFFFF0u); }},
        {"not PE", [](TBytes& b, const TLayout&) { b[TLayout::PeHeader + 1] = 'X'; }},
        {"unknown optional magic",
         [](TBytes& b, const TLayout&) { Put16(b, TLayout::OptionalHeader, 0x107); }},
        {"optional header too small",
         [](TBytes& b, const TLayout&) { Put16(b, TLayout::FileHeader + 16, 96); }},
        {"section table beyond the file",
         [](TBytes& b, const TLayout&) { Put16(b, TLayout::FileHeader + 2, 0xFFFF); }},
        {"section raw data beyond the file",
         [](TBytes& b, const TLayout& l) { Put32(b, l.Section + 16, TLayout::RsrcRawSize + 1); }},
        {"section raw pointer wraps",
         [](TBytes& b, const TLayout& l) { Put32(b, l.Section + 20, 0xFFFFFF00u); }},
        {"resource RVA in no section",
         [](TBytes& b, const TLayout& l) { Put32(b, l.ResourceDirectory, 0x9000); }},
        {"resource tree declared smaller than its root",
         [](TBytes& b, const TLayout& l) { Put32(b, l.ResourceDirectory + 4, 15); }},
        {"numbers out of order",
         [=](TBytes& b, const TLayout&) {
             PutEntry(b, r + TLayout::Root, 0, 10, 0x80000000u | TLayout::DataNames);
             PutEntry(b, r + TLayout::Root, 1, 6, 0x80000000u | TLayout::StringNames);
         }},
        {"name with a small letter",
         [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::Name + 2, 't'); }},
        // Some lookups compare names only up to a zero unit.
        {"name with a zero unit",
         [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::Name + 2 + 2 * 5, 0); }},
        // Lookups pick a language by locale; one walk reads the first.
        {"string table in two languages",
         [=](TBytes& b, const TLayout&) {
             constexpr std::size_t languages = 0x100;
             PutDirectory(b, r + languages, 0, 2);
             PutEntry(b, r + languages, 0, 0x409, TLayout::StringEntry);
             PutEntry(b, r + languages, 1, 0x40C, TLayout::StringEntry);
             PutEntry(b, r + TLayout::StringNames, 0, 0xFEA, 0x80000000u | languages);
         }},
        {"resource root inside the headers",
         [](TBytes& b, const TLayout&) { Put32(b, TLayout::OptionalHeader + 60, TLayout::RsrcRva + 1); }},
        // The platform computes a section's end in 32 bits: this one holds no address at all.
        {"section end wraps past 4 GiB",
         [=](TBytes& b, const TLayout& l) {
             constexpr std::uint32_t kTop = 0xFFFFFF00u;
             Put32(b, l.Section + 12, kTop);
             Put32(b, l.ResourceDirectory, kTop);
             Put32(b, r + TLayout::StringEntry, kTop + TLayout::StringBlock);
             Put32(b, r + TLayout::DataEntry, kTop + TLayout::Data);
         }},
        {"resource root at the section's last byte",
         [](TBytes& b, const TLayout& l) {
             Put32(b, l.ResourceDirectory, TLayout::RsrcRva + TLayout::RsrcRawSize - 1);
         }},
        {"root entry count beyond the file",
         [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::Root + 14, 0xFFFF); }},
        {"subdirectory beyond the file",
         [=](TBytes& b, const TLayout&) { PutEntry(b, r + TLayout::Root, 0, 6, 0x80000000u | 0x7FFFFFF0u); }},
        {"number in the named part",
         [=](TBytes& b, const TLayout&) { PutDirectory(b, r + TLayout::Root, 1, 1); }},
        {"name in the numbered part",
         [=](TBytes& b, const TLayout&) { PutDirectory(b, r + TLayout::DataNames, 0, 1); }},
        {"data entry where a type directory belongs",
         [=](TBytes& b, const TLayout&) { PutEntry(b, r + TLayout::Root, 0, 6, TLayout::StringEntry); }},
        {"directory where language data belongs",
         [=](TBytes& b, const TLayout&) {
             PutEntry(b, r + TLayout::StringLangs, 0, 0x40C, 0x80000000u | TLayout::Root);
         }},
        {"loop back to the root",
         [=](TBytes& b, const TLayout&) {
             PutEntry(b, r + TLayout::StringNames, 0, 0xFEA, 0x80000000u | TLayout::Root);
         }},
        {"data entry beyond the file",
         [=](TBytes& b, const TLayout&) { PutEntry(b, r + TLayout::DataLangs, 0, 0x40C, 0x7FFFFFF0u); }},
        {"data RVA in no section",
         [=](TBytes& b, const TLayout&) { Put32(b, r + TLayout::DataEntry, 0x5000); }},
        {"data size past the section",
         [=](TBytes& b, const TLayout&) { Put32(b, r + TLayout::DataEntry + 4, 0x1000); }},
        {"data past its section but inside the file",
         [=](TBytes& b, const TLayout&) {
             b.resize(b.size() + 0x100, 0);
             Put32(b, r + TLayout::DataEntry, TLayout::RsrcRva + TLayout::RsrcRawSize - 4);
         }},
        {"data size wraps",
         [=](TBytes& b, const TLayout&) { Put32(b, r + TLayout::DataEntry + 4, 0xFFFFFFFFu); }},
        {"name string longer than the file",
         [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::Name, 0xFFFF); }},
        {"name offset beyond the file",
         [=](TBytes& b, const TLayout&) {
             PutEntry(b, r + TLayout::DataNames, 0, 0x80000000u | 0x7FFFFFFEu,
                      0x80000000u | TLayout::DataLangs);
         }},
        {"string count runs past its block",
         [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::StringBlock + 15 * 2, 4); }},
        {"string block shorter than sixteen counts",
         [=](TBytes& b, const TLayout&) { Put32(b, r + TLayout::StringEntry + 4, 15 * 2); }},
        {"string count huge", [=](TBytes& b, const TLayout&) { Put16(b, r + TLayout::StringBlock, 0xFFFF); }},
    };
    for (const Case& c : cases) {
        TLayout layout;
        TBytes b = BuildImage(layout);
        c.damage(b, layout);
        EXPECT_FALSE(IsSound(b)) << c.what;
    }
}

TEST(ModuleImage, StringTablesAreFoundByTheLowSixteenBitsOfTheirType) {
    // An RCDATA block is not walked as strings, whatever its bytes: the check is per type.
    TLayout layout;
    TBytes b = BuildImage(layout);
    Put16(b, TLayout::Rsrc + TLayout::Data, 0xFFFF);
    EXPECT_TRUE(IsSound(b));
    // A type whose number reads 6 in its low bits is a string table to the loader.
    PutEntry(b, TLayout::Rsrc + TLayout::Root, 1, 0x00010006u, 0x80000000u | TLayout::DataNames);
    EXPECT_FALSE(IsSound(b));
}

TEST(ModuleImage, SharedSubdirectoriesCannotMultiplyTheWalk) {
    // A well-formed tree in which each of 1024 types leads to the same 1024 names, each of which
    // leads to the same one language: 2^20 data entries if walked naively.
    TLayout layout;
    TBytes b = BuildImage(layout);
    constexpr std::uint16_t kWide = 1024;
    constexpr std::size_t kDirectorySize = 16 + kWide * 8;
    const std::size_t types = 0x1000, names = types + kDirectorySize, langs = names + kDirectorySize;
    const std::size_t data = langs + kDirectorySize;
    b.resize(data + 16, 0);
    Put32(b, layout.Section + 16, static_cast<std::uint32_t>(b.size() - TLayout::Rsrc));
    // Offsets in a tree count from its root.
    const auto rel = [=](std::size_t at) { return static_cast<std::uint32_t>(at - types); };
    Put32(b, data, TLayout::RsrcRva + TLayout::Data);
    Put32(b, data + 4, TLayout::DataSize);
    PutDirectory(b, types, 0, kWide);
    PutDirectory(b, names, 0, kWide);
    PutDirectory(b, langs, 0, 1);
    for (std::uint32_t i = 0; i < kWide; ++i) {
        // Type numbers from 100 up: no string tables, so every entry costs the same.
        PutEntry(b, types, static_cast<int>(i), 100 + i, 0x80000000u | rel(names));
        PutEntry(b, names, static_cast<int>(i), 1 + i, 0x80000000u | rel(langs));
        PutEntry(b, langs, static_cast<int>(i), 1 + i, rel(data));
    }
    Put32(b, layout.ResourceDirectory, static_cast<std::uint32_t>(TLayout::RsrcRva + types - TLayout::Rsrc));
    EXPECT_FALSE(IsSound(b));

    // The same shape kept small is sound: the refusal above is about the size of the walk.
    for (std::size_t dir : {types, names})
        PutDirectory(b, dir, 0, 16);
    EXPECT_TRUE(IsSound(b));
}
