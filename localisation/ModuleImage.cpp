// PE resource-tree bounds check, mirroring how the platform's resource lookup walks a module mapped as
// a data file: section headers turn RVAs into file offsets, directory offsets are relative to the
// tree's root, named entries come before numbered ones, each part in ascending order (lookups
// binary-search a part and read each name they pass), and a string block is walked as sixteen
// length-prefixed UTF-16 strings.
#include "ModuleImage.h"

#include "PeBytes.h"

#include <optional>

namespace attente {

namespace {

constexpr int kTreeLevels = 3; // type, name, language
// Far above any real module; bounds the walk when directories share children.
constexpr std::size_t kMaxEntriesVisited = 1u << 16;

class TResourceWalk {
  public:
    TResourceWalk(const TPeBytes& image, const TSections& sections, std::uint64_t root)
        : image_(image), sections_(sections), root_(root) {}

    bool Directory(std::uint32_t offset, int level, bool stringTable) {
        const std::uint64_t at = root_ + offset;
        if (!image_.Contains(at, kResourceDirectorySize)) return false;
        const std::uint64_t count =
            std::uint64_t{*image_.U16(at + kNamedEntryCountField)} + *image_.U16(at + kIdEntryCountField);
        if (!image_.Contains(at + kResourceDirectorySize, count * kResourceEntrySize)) return false;
        // The platform picks among a resource's languages by locale, where the portable reader takes
        // the first: one language each, so that both read the same bytes.
        if (level == kTreeLevels && count > 1) return false;
        const std::uint16_t named = *image_.U16(at + kNamedEntryCountField);
        std::uint32_t previous = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            if (++visited_ > kMaxEntriesVisited) return false;
            const std::uint64_t entry = at + kResourceDirectorySize + i * kResourceEntrySize;
            const std::uint32_t name = *image_.U32(entry);
            const std::uint32_t target = *image_.U32(entry + 4);
            // A lookup by name takes every entry of the named part for a name.
            if (((name & kHighBit) != 0) != (i < named)) return false;
            if ((name & kHighBit) && !NameString(name & ~kHighBit)) return false;
            // Lookups binary-search each part, so only strictly ascending keys are found as a walk
            // from the start would find them.
            if (i > 0 && i != named && !Ascends(previous, name)) return false;
            previous = name;
            const bool isDirectory = (target & kHighBit) != 0;
            // Types and names lead to directories, languages to data; anything else is malformed.
            if (isDirectory != (level < kTreeLevels)) return false;
            if (isDirectory) {
                // Lookups by number compare the low 16 bits of an entry's name.
                const bool strings = level == 1
                                         ? ((name & kHighBit) == 0 && (name & kIdMask) == kStringTableType)
                                         : stringTable;
                if (!Directory(target & ~kHighBit, level + 1, strings)) return false;
            } else if (!DataEntry(target, stringTable)) {
                return false;
            }
        }
        return true;
    }

  private:
    // Lookups upper-case the name asked for and compare it as stored, so a stored small letter would
    // make a name that a lookup ignoring case finds and the platform's does not. Some lookups compare
    // names only up to a zero unit, so a name holding one is no name at all.
    bool NameString(std::uint32_t offset) const {
        const std::uint64_t at = root_ + offset;
        const std::optional<std::uint16_t> length = image_.U16(at);
        if (!length || !image_.Contains(at + 2, std::uint64_t{*length} * 2)) return false;
        for (std::uint16_t i = 0; i < *length; ++i) {
            const std::uint16_t unit = *image_.U16(at + 2 + 2 * i);
            if ((unit >= u'a' && unit <= u'z') || unit == 0) return false;
        }
        return true;
    }

    // Names in UTF-16 code-unit order, a prefix first; numbers by their low 16 bits.
    bool Ascends(std::uint32_t before, std::uint32_t after) const {
        if ((after & kHighBit) == 0) return (before & kIdMask) < (after & kIdMask);
        const std::uint64_t a = root_ + (before & ~kHighBit), b = root_ + (after & ~kHighBit);
        const std::uint16_t aLength = *image_.U16(a), bLength = *image_.U16(b);
        for (std::uint16_t i = 0; i < aLength && i < bLength; ++i) {
            const std::uint16_t x = *image_.U16(a + 2 + 2 * i), y = *image_.U16(b + 2 + 2 * i);
            if (x != y) return x < y;
        }
        return aLength < bLength;
    }

    bool DataEntry(std::uint32_t offset, bool stringTable) const {
        const std::uint64_t at = root_ + offset;
        if (!image_.Contains(at, kResourceDataEntrySize)) return false;
        const std::uint32_t rva = *image_.U32(at);
        const std::uint32_t size = *image_.U32(at + 4);
        const std::optional<std::uint64_t> data = RvaToOffset(image_, sections_, rva, size);
        if (!data) return false;
        return !stringTable || StringBlock(*data, size);
    }

    // The string loader skips strings by their counts without looking at the resource's size.
    bool StringBlock(std::uint64_t offset, std::uint64_t size) const {
        std::uint64_t used = 0;
        for (int i = 0; i < kStringsPerBlock; ++i) {
            if (size - used < 2) return false;
            const std::uint64_t length = *image_.U16(offset + used);
            used += 2;
            if (length * 2 > size - used) return false;
            used += length * 2;
        }
        return true;
    }

    const TPeBytes& image_;
    const TSections& sections_;
    std::uint64_t root_;
    std::uint64_t visited_ = 0;
};

} // namespace

bool IsSoundResourceImage(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kDosHeaderSize) return false;
    const TPeBytes image(data, size);
    if (*image.U16(0) != kDosMagic) return false;
    const std::uint64_t peHeader = *image.U32(kNewHeaderOffsetField);
    if (image.U32(peHeader) != kPeSignature) return false;
    const std::uint64_t fileHeader = peHeader + 4;
    const std::optional<std::uint16_t> sectionCount = image.U16(fileHeader + kSectionCountField);
    const std::optional<std::uint16_t> optionalSize = image.U16(fileHeader + kOptionalHeaderSizeField);
    if (!sectionCount || !optionalSize) return false;
    const std::uint64_t optionalHeader = fileHeader + kFileHeaderSize;
    const std::optional<std::uint16_t> magic = image.U16(optionalHeader);
    if (!magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic)) return false;
    // The loader reads the fixed part of the optional header whatever its declared size says.
    const std::uint64_t fixedSize =
        *magic == kPe32Magic ? kPe32OptionalHeaderSize : kPe32PlusOptionalHeaderSize;
    if (*optionalSize < fixedSize || !image.Contains(optionalHeader, *optionalSize)) return false;
    const std::uint64_t countField =
        *magic == kPe32Magic ? kPe32DirectoryCountField : kPe32PlusDirectoryCountField;
    const std::uint32_t directoryCount = *image.U32(optionalHeader + countField);
    const std::uint32_t headersSize = *image.U32(optionalHeader + kHeadersSizeField);

    const TSections sections{optionalHeader + *optionalSize, *sectionCount};
    if (!image.Contains(sections.TableOffset, sections.Count * kSectionHeaderSize)) return false;
    // A file shorter than its sections say has been cut short: refuse it outright.
    for (std::uint64_t i = 0; i < sections.Count; ++i) {
        const std::uint64_t header = sections.TableOffset + i * kSectionHeaderSize;
        if (!image.Contains(*image.U32(header + kSectionRawPointerField),
                            *image.U32(header + kSectionRawSizeField)))
            return false;
    }

    if (directoryCount <= kResourceDirectoryIndex) return true;
    const std::uint64_t resourceEntry =
        optionalHeader + countField + 4 + kResourceDirectoryIndex * kDataDirectorySize;
    const std::uint32_t rva = *image.U32(resourceEntry);
    if (rva == 0) return true;
    // The platform finds nothing in a tree declared smaller than its root directory.
    if (*image.U32(resourceEntry + 4) < kResourceDirectorySize) return false;
    // The platform takes a directory inside the headers straight from the file offset, not through
    // the section table; no real module puts its resources there.
    if (rva < headersSize) return false;
    const std::optional<std::uint64_t> root = RvaToOffset(image, sections, rva, kResourceDirectorySize);
    if (!root) return false;
    TResourceWalk walk(image, sections, *root);
    return walk.Directory(0, 1, false);
}

} // namespace attente

namespace attente {

std::optional<std::uint64_t> RvaToOffset(const TPeBytes& image, const TSections& sections, std::uint32_t rva,
                                         std::uint64_t length) {
    for (std::uint64_t i = 0; i < sections.Count; ++i) {
        const std::uint64_t header = sections.TableOffset + i * kSectionHeaderSize;
        const std::uint32_t address = *image.U32(header + kSectionVirtualAddressField);
        const std::uint32_t rawSize = *image.U32(header + kSectionRawSizeField);
        const std::uint32_t rawPointer = *image.U32(header + kSectionRawPointerField);
        if (rva < address || static_cast<std::uint32_t>(address + rawSize) <= rva) continue;
        const std::uint64_t within = rva - address;
        if (length > rawSize - within) return std::nullopt;
        const std::uint64_t offset = rawPointer + within;
        if (!image.Contains(offset, length)) return std::nullopt;
        return offset;
    }
    return std::nullopt;
}

} // namespace attente
