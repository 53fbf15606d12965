// Resource lookups over a module image whose tree IsSoundResourceImage has walked: the first entry
// that matches at each level, the first language of a name, and the string-block layout the
// platform's string loader uses (block number id / 16 + 1, sixteen counted strings).
#include "ModuleContents.h"

#include "ModuleImage.h"
#include "PeBytes.h"

namespace attente {

namespace {

constexpr std::size_t kCodeSizeField = 4;
constexpr std::size_t kEntryPointField = 16;
constexpr std::size_t kSectionNameSize = 8;
constexpr std::uint32_t kSectionContainsCode = 0x00000020;
constexpr std::uint32_t kSectionMemExecute = 0x20000000;

char AsciiUpper(char16_t c) {
    return static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
}

bool SameNameIgnoringCase(const TPeBytes& image, std::uint64_t at, const std::string& name) {
    const std::uint16_t length = *image.U16(at);
    if (length != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = *image.U16(at + 2 + 2 * i);
        if (unit > 0x7F || AsciiUpper(unit) != AsciiUpper(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

} // namespace

bool TModuleSection::Executable() const {
    return (Characteristics & (kSectionContainsCode | kSectionMemExecute)) != 0;
}

std::optional<TModuleContents> TModuleContents::Open(const std::uint8_t* data, std::size_t size) {
    if (!IsSoundResourceImage(data, size)) return std::nullopt;
    TModuleContents contents(data, size);
    const TPeBytes image(data, size);
    const std::uint64_t fileHeader = std::uint64_t{*image.U32(kNewHeaderOffsetField)} + 4;
    const std::uint64_t optionalHeader = fileHeader + kFileHeaderSize;
    const bool pe32 = *image.U16(optionalHeader) == kPe32Magic;
    const std::uint64_t countField =
        optionalHeader + (pe32 ? kPe32DirectoryCountField : kPe32PlusDirectoryCountField);
    const std::uint32_t directoryCount = *image.U32(countField);
    contents.sectionTable_ = optionalHeader + *image.U16(fileHeader + kOptionalHeaderSizeField);
    contents.sectionCount_ = *image.U16(fileHeader + kSectionCountField);

    TModuleHeaders& headers = contents.headers_;
    headers.Pe32 = pe32;
    headers.CodeSize = *image.U32(optionalHeader + kCodeSizeField);
    headers.EntryPoint = *image.U32(optionalHeader + kEntryPointField);
    // The fixed optional header holds all sixteen directories, whatever the count claims.
    const auto directoryRva = [&](std::uint32_t index) {
        return index < directoryCount ? *image.U32(countField + 4 + index * kDataDirectorySize) : 0u;
    };
    headers.HasExports = directoryRva(kExportDirectoryIndex) != 0;
    headers.HasImports = directoryRva(kImportDirectoryIndex) != 0;
    for (std::uint64_t i = 0; i < contents.sectionCount_; ++i) {
        const std::uint64_t header = contents.sectionTable_ + i * kSectionHeaderSize;
        TModuleSection section;
        for (std::size_t c = 0; c < kSectionNameSize && image.At(header)[c] != 0; ++c)
            section.Name += static_cast<char>(image.At(header)[c]);
        section.Characteristics = *image.U32(header + kSectionCharacteristicsField);
        headers.Sections.push_back(section);
    }

    const std::uint32_t resourceRva = directoryRva(kResourceDirectoryIndex);
    if (resourceRva != 0) {
        const TSections sections{contents.sectionTable_, contents.sectionCount_};
        contents.root_ = RvaToOffset(image, sections, resourceRva, kResourceDirectorySize).value_or(0);
    }
    return contents;
}

namespace {

// The target of the first entry of the directory at `directory` (relative to the tree root) that
// `matches` accepts, or nothing.
template <typename TMatch>
std::optional<std::uint32_t> FindEntry(const TPeBytes& image, std::uint64_t root, std::uint32_t directory,
                                       TMatch matches) {
    const std::uint64_t at = root + directory;
    const std::uint64_t count =
        std::uint64_t{*image.U16(at + kNamedEntryCountField)} + *image.U16(at + kIdEntryCountField);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = at + kResourceDirectorySize + i * kResourceEntrySize;
        if (matches(*image.U32(entry))) return *image.U32(entry + 4);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::uint8_t>> TModuleContents::FirstLanguage(std::uint32_t languages) const {
    const TPeBytes image(data_, size_);
    const auto data = FindEntry(image, root_, languages, [](std::uint32_t) { return true; });
    if (!data) return std::nullopt;
    const std::uint64_t entry = root_ + *data;
    const std::uint32_t size = *image.U32(entry + 4);
    const auto offset = RvaToOffset(image, TSections{sectionTable_, sectionCount_}, *image.U32(entry), size);
    if (!offset) return std::nullopt;
    return std::vector<std::uint8_t>(image.At(*offset), image.At(*offset) + size);
}

std::optional<std::vector<std::uint8_t>> TModuleContents::Resource(std::uint32_t type,
                                                                   std::uint16_t id) const {
    if (root_ == 0) return std::nullopt;
    const TPeBytes image(data_, size_);
    const auto byId = [](std::uint32_t wanted) {
        return [wanted](std::uint32_t name) { return (name & kHighBit) == 0 && (name & kIdMask) == wanted; };
    };
    // The sound-tree check guarantees that types and names lead to directories and languages to data.
    const auto types = FindEntry(image, root_, 0, byId(type));
    if (!types) return std::nullopt;
    const auto names = FindEntry(image, root_, *types & ~kHighBit, byId(id));
    if (!names) return std::nullopt;
    return FirstLanguage(*names & ~kHighBit);
}

std::optional<std::vector<std::uint8_t>> TModuleContents::Resource(std::uint32_t type,
                                                                   const std::string& name) const {
    if (root_ == 0) return std::nullopt;
    const TPeBytes image(data_, size_);
    const std::uint64_t root = root_;
    const auto types = FindEntry(image, root, 0, [type](std::uint32_t entry) {
        return (entry & kHighBit) == 0 && (entry & kIdMask) == type;
    });
    if (!types) return std::nullopt;
    const auto names = FindEntry(image, root, *types & ~kHighBit, [&](std::uint32_t entry) {
        return (entry & kHighBit) != 0 && SameNameIgnoringCase(image, root + (entry & ~kHighBit), name);
    });
    if (!names) return std::nullopt;
    return FirstLanguage(*names & ~kHighBit);
}

std::u16string TModuleContents::String(std::uint16_t id) const {
    const auto block = Resource(kStringTableType, static_cast<std::uint16_t>(id / kStringsPerBlock + 1));
    if (!block) return {};
    const TPeBytes bytes(block->data(), block->size());
    std::uint64_t at = 0;
    for (int i = 0; i < kStringsPerBlock; ++i) {
        const std::optional<std::uint16_t> length = bytes.U16(at);
        if (!length || !bytes.Contains(at + 2, std::uint64_t{*length} * 2)) return {};
        if (i == id % kStringsPerBlock) {
            std::u16string text;
            for (std::uint16_t c = 0; c < *length; ++c)
                text += static_cast<char16_t>(*bytes.U16(at + 2 + 2 * c));
            return text;
        }
        at += 2 + std::uint64_t{*length} * 2;
    }
    return {};
}

} // namespace attente
