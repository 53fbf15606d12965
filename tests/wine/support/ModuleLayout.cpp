// Lays out a built module by walking its headers and resource tree, and crafts modules from it.
#include "ModuleLayout.h"

#include <algorithm>

namespace attente::test {

namespace {

constexpr std::size_t kNewHeaderField = 0x3C;
constexpr std::size_t kPe32ResourceSlot = 96 + 2 * 8;
constexpr std::size_t kSectionHeaderBytes = 40;
constexpr std::uint32_t kHigh = 0x80000000u;
constexpr std::uint32_t kStringType = 6;
constexpr std::uint32_t kDataType = 10;
constexpr std::uint32_t kMovedDataAlignment = 8;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kBeyondGap = 0x1000;
constexpr std::uint32_t kShrunkVirtualSize = 16;
constexpr int kLevels = 3;

std::uint32_t Get16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

bool IsDescriptionName(const std::string& b, std::size_t at) {
    const std::string name = "TFORM1";
    if (Get16(b, at) != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (Get16(b, at + 2 + 2 * i) != static_cast<std::uint32_t>(name[i])) return false;
    return true;
}

class TTreeWalk {
  public:
    TTreeWalk(const std::string& b, TModuleLayout& layout, std::size_t root, std::uint32_t rva,
              std::size_t raw)
        : b_(b), layout_(layout), root_(root), rva_(rva), raw_(raw) {}

    bool Directory(std::uint32_t offset, int level, std::uint32_t type, bool description) {
        const std::size_t at = root_ + offset;
        if (level > kLevels || at + 16 > b_.size()) return false;
        layout_.Directories.push_back(at);
        if (level == kLevels) layout_.LanguageDirectories.push_back(at);
        const std::uint32_t count = Get16(b_, at + 12) + Get16(b_, at + 14);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t entry = at + 16 + 8 * i;
            layout_.Entries.push_back(entry);
            const std::uint32_t name = Get32(b_, entry), target = Get32(b_, entry + 4);
            if (name & kHigh) layout_.Names.push_back(root_ + (name & ~kHigh));
            const std::uint32_t entryType = level == 1 ? name : type;
            const bool named = description || (level == 2 && (name & kHigh) &&
                                               IsDescriptionName(b_, root_ + (name & ~kHigh)));
            if (target & kHigh) {
                if (!Directory(target & ~kHigh, level + 1, entryType, named)) return false;
                continue;
            }
            const std::size_t data = root_ + target;
            const std::uint32_t size = Get32(b_, data + 4);
            const std::size_t offset = raw_ + (Get32(b_, data) - rva_);
            if (offset + size > b_.size()) return false;
            layout_.Data.push_back(
                {data, offset, size, entryType == kStringType, entryType == kDataType && named});
        }
        return true;
    }

  private:
    const std::string& b_;
    TModuleLayout& layout_;
    std::size_t root_;
    std::uint32_t rva_;
    std::size_t raw_;
};

} // namespace

std::uint32_t Get32(const std::string& b, std::size_t at) {
    return Get16(b, at) | Get16(b, at + 2) << 16;
}

void Put16(std::string& b, std::size_t at, std::uint32_t value) {
    if (at + 2 > b.size()) return;
    b[at] = static_cast<char>(value);
    b[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& b, std::size_t at, std::uint32_t value) {
    Put16(b, at, value & 0xFFFF);
    Put16(b, at + 2, value >> 16);
}

std::optional<TModuleLayout> LayoutOf(const std::string& module) {
    if (Get16(module, 0) != 0x5A4D) return std::nullopt;
    TModuleLayout layout;
    layout.PeHeader = Get32(module, kNewHeaderField);
    const std::size_t fileHeader = layout.PeHeader + 4;
    layout.OptionalHeader = fileHeader + 20;
    if (Get16(module, layout.OptionalHeader) != 0x10B) return std::nullopt;
    layout.ResourceDirectoryEntry = layout.OptionalHeader + kPe32ResourceSlot;
    const std::uint32_t rootRva = Get32(module, layout.ResourceDirectoryEntry);
    const std::size_t table = layout.OptionalHeader + Get16(module, fileHeader + 16);
    for (std::uint32_t i = 0; i < Get16(module, fileHeader + 2); ++i) {
        const std::size_t header = table + kSectionHeaderBytes * i;
        layout.SectionHeaders.push_back(header);
        const std::uint32_t rva = Get32(module, header + kSectionRvaField);
        if (rootRva >= rva && rootRva - rva < Get32(module, header + kSectionRawSizeFieldOffset))
            layout.Section = header;
    }
    if (layout.Section == 0) return std::nullopt;
    const std::uint32_t rva = Get32(module, layout.Section + kSectionRvaField);
    const std::size_t raw = Get32(module, layout.Section + kSectionRawPointerFieldOffset);
    TTreeWalk walk(module, layout, raw + (rootRva - rva), rva, raw);
    if (!walk.Directory(0, 1, 0, false)) return std::nullopt;
    return layout;
}

std::string DataBeyondImage(const std::string& module) {
    const std::optional<TModuleLayout> layout = LayoutOf(module);
    if (!layout) return {};
    const std::size_t section = layout->Section;
    const std::uint32_t rva = Get32(module, section + kSectionRvaField);
    const std::uint32_t raw = Get32(module, section + kSectionRawPointerFieldOffset);
    if (raw + Get32(module, section + kSectionRawSizeFieldOffset) != module.size()) return {};
    const std::uint32_t beyond = std::max(Get32(module, layout->OptionalHeader + kImageSizeField),
                                          rva + Get32(module, section + kSectionVirtualSizeField)) +
                                 kBeyondGap;
    std::string out = module;
    out.resize(raw + (beyond - rva), '\0');
    for (const TResourceData& data : layout->Data) {
        Put32(out, data.Entry, static_cast<std::uint32_t>(rva + (out.size() - raw)));
        out += module.substr(data.Offset, data.Size);
        out.resize((out.size() + kMovedDataAlignment - 1) / kMovedDataAlignment * kMovedDataAlignment, '\0');
    }
    out.resize((out.size() + kFileAlignment - 1) / kFileAlignment * kFileAlignment, '\0');
    Put32(out, section + kSectionRawSizeFieldOffset, static_cast<std::uint32_t>(out.size() - raw));
    return out;
}

std::string ShrunkVirtualSize(const std::string& module) {
    const std::optional<TModuleLayout> layout = LayoutOf(module);
    if (!layout) return {};
    std::string out = module;
    Put32(out, layout->Section + kSectionVirtualSizeField, kShrunkVirtualSize);
    return out;
}

namespace {

struct TGrowable {
    std::string Bytes;
    TModuleLayout Layout;
    std::uint32_t Rva = 0; // the tree section's
    std::uint32_t Raw = 0; // its raw data in the file
    std::size_t Root = 0;  // the tree's root in the file
};

// Only a module whose tree section ends the file can grow there.
std::optional<TGrowable> Growable(const std::string& module) {
    const std::optional<TModuleLayout> layout = LayoutOf(module);
    if (!layout) return std::nullopt;
    TGrowable g{module, *layout, Get32(module, layout->Section + kSectionRvaField),
                Get32(module, layout->Section + kSectionRawPointerFieldOffset), 0};
    if (g.Raw + Get32(module, layout->Section + kSectionRawSizeFieldOffset) != module.size())
        return std::nullopt;
    g.Root = g.Raw + (Get32(module, layout->ResourceDirectoryEntry) - g.Rva);
    return g;
}

// Appends `bytes` to the section, returns their file offset.
std::size_t Append(TGrowable& g, const std::string& bytes) {
    g.Bytes.resize((g.Bytes.size() + kMovedDataAlignment - 1) / kMovedDataAlignment * kMovedDataAlignment,
                   '\0');
    const std::size_t at = g.Bytes.size();
    g.Bytes += bytes;
    return at;
}

std::string Finished(TGrowable& g) {
    g.Bytes.resize((g.Bytes.size() + kFileAlignment - 1) / kFileAlignment * kFileAlignment, '\0');
    Put32(g.Bytes, g.Layout.Section + kSectionRawSizeFieldOffset,
          static_cast<std::uint32_t>(g.Bytes.size() - g.Raw));
    return g.Bytes;
}

} // namespace

std::string SecondLanguage(const std::string& module, std::size_t resource, std::uint32_t language,
                           std::size_t otherData) {
    std::optional<TGrowable> g = Growable(module);
    if (!g || g->Layout.LanguageDirectories.empty() || g->Layout.Data.empty()) return {};
    const std::size_t directory =
        g->Layout.LanguageDirectories[resource % g->Layout.LanguageDirectories.size()];
    const std::size_t count = Get16(module, directory + 12) + Get16(module, directory + 14);
    if (directory + 16 + 8 * count > module.size()) return {};
    std::string copy = module.substr(directory, 16 + 8 * count);
    Put16(copy, 14, Get16(module, directory + 14) + 1);
    std::string entry(8, '\0');
    Put32(entry, 0, language);
    Put32(entry, 4,
          static_cast<std::uint32_t>(g->Layout.Data[otherData % g->Layout.Data.size()].Entry - g->Root));
    const std::size_t moved = Append(*g, copy + entry);
    const std::uint32_t was = static_cast<std::uint32_t>(directory - g->Root) | kHigh;
    for (std::size_t at : g->Layout.Entries)
        if (Get32(g->Bytes, at + 4) == was)
            Put32(g->Bytes, at + 4, static_cast<std::uint32_t>(moved - g->Root) | kHigh);
    return Finished(*g);
}

std::string LongString(const std::string& module, std::size_t block, int string, std::size_t units) {
    std::optional<TGrowable> g = Growable(module);
    if (!g) return {};
    std::vector<TResourceData> blocks;
    for (const TResourceData& d : g->Layout.Data)
        if (d.StringBlock) blocks.push_back(d);
    if (blocks.empty()) return {};
    const TResourceData& chosen = blocks[block % blocks.size()];
    std::string strings;
    std::size_t at = chosen.Offset;
    for (int i = 0; i < 16; ++i) {
        const std::size_t length = Get16(module, at);
        if (at + 2 + 2 * length > module.size()) return {};
        std::string item(2, '\0');
        if (i == string % 16) {
            Put16(item, 0, static_cast<std::uint32_t>(units));
            for (std::size_t u = 0; u < units; ++u)
                item += std::string("x\0", 2);
        } else {
            item = module.substr(at, 2 + 2 * length);
        }
        strings += item;
        at += 2 + 2 * length;
    }
    const std::size_t moved = Append(*g, strings);
    Put32(g->Bytes, chosen.Entry, static_cast<std::uint32_t>(g->Rva + (moved - g->Raw)));
    Put32(g->Bytes, chosen.Entry + 4, static_cast<std::uint32_t>(strings.size()));
    return Finished(*g);
}

std::string RebasedImage(const std::string& image, std::uint32_t base) {
    constexpr std::size_t kSectionCountField = 6;
    constexpr std::size_t kOptionalSizeField = 20;
    constexpr std::size_t kOptionalHeaderStart = 24;
    constexpr std::size_t kImageBaseField = 28;
    constexpr std::size_t kRelocationSlot = 96 + 5 * 8;
    constexpr std::size_t kBlockHeaderBytes = 8;
    constexpr std::uint32_t kHighLow = 3;
    constexpr std::uint32_t kAbsolute = 0;
    const std::size_t pe = Get32(image, kNewHeaderField);
    const std::size_t optional = pe + kOptionalHeaderStart;
    const std::size_t sections = optional + Get16(image, pe + kOptionalSizeField);
    const std::size_t sectionCount = Get16(image, pe + kSectionCountField);
    const auto fileOffset = [&](std::uint32_t rva) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::size_t header = sections + i * kSectionHeaderBytes;
            const std::uint32_t start = Get32(image, header + kSectionRvaField);
            if (rva >= start && rva - start < Get32(image, header + kSectionRawSizeFieldOffset))
                return Get32(image, header + kSectionRawPointerFieldOffset) + (rva - start);
        }
        return std::nullopt;
    };
    const std::uint32_t table = Get32(image, optional + kRelocationSlot);
    const std::uint32_t tableSize = Get32(image, optional + kRelocationSlot + 4);
    const std::optional<std::size_t> start = fileOffset(table);
    if (Get32(image, pe) != 0x4550 || tableSize == 0 || !start) return {};
    std::string out = image;
    const std::uint32_t delta = base - Get32(image, optional + kImageBaseField);
    for (std::size_t block = *start; block + kBlockHeaderBytes <= *start + tableSize;) {
        const std::uint32_t page = Get32(image, block);
        const std::uint32_t blockSize = Get32(image, block + 4);
        if (blockSize < kBlockHeaderBytes) return {};
        for (std::size_t entry = block + kBlockHeaderBytes; entry + 2 <= block + blockSize; entry += 2) {
            const std::uint32_t value = Get16(image, entry);
            if (value >> 12 == kAbsolute) continue;
            const std::optional<std::size_t> at = fileOffset(page + (value & 0xFFF));
            if (value >> 12 != kHighLow || !at) return {};
            Put32(out, *at, Get32(out, *at) + delta);
        }
        block += blockSize;
    }
    Put32(out, optional + kImageBaseField, base);
    return out;
}

} // namespace attente::test
