// Bounds-checked little-endian reads of a PE file held in memory, and RVA-to-offset translation as
// the platform's resource functions do it for a module mapped as a data file (the file's bytes as
// they are, no section laid out at its address): shared by the resource-tree check and the module
// checker so that both see the module as the program reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace attente {

constexpr std::uint16_t kDosMagic = 0x5A4D;        // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kNewHeaderOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionCountField = 2;
constexpr std::size_t kOptionalHeaderSizeField = 16;
constexpr std::size_t kHeadersSizeField = 60;
constexpr std::size_t kPe32DirectoryCountField = 92;
constexpr std::size_t kPe32PlusDirectoryCountField = 108;
constexpr std::size_t kDataDirectorySize = 8;
// Through the last of the 16 data directories.
constexpr std::size_t kPe32OptionalHeaderSize = 224;
constexpr std::size_t kPe32PlusOptionalHeaderSize = 240;
constexpr std::uint32_t kExportDirectoryIndex = 0;
constexpr std::uint32_t kImportDirectoryIndex = 1;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionVirtualAddressField = 12;
constexpr std::size_t kSectionRawSizeField = 16;
constexpr std::size_t kSectionRawPointerField = 20;
constexpr std::size_t kSectionCharacteristicsField = 36;
constexpr std::size_t kResourceDirectorySize = 16;
constexpr std::size_t kNamedEntryCountField = 12;
constexpr std::size_t kIdEntryCountField = 14;
constexpr std::size_t kResourceEntrySize = 8;
constexpr std::size_t kResourceDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kIdMask = 0xFFFFu;
constexpr std::uint32_t kStringTableType = 6;
constexpr int kStringsPerBlock = 16;

class TPeBytes {
  public:
    TPeBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // 64-bit arithmetic: offset plus length from the file must not wrap on a 32-bit size_t.
    bool Contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    std::optional<std::uint16_t> U16(std::uint64_t offset) const {
        if (!Contains(offset, 2)) return std::nullopt;
        return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }
    std::optional<std::uint32_t> U32(std::uint64_t offset) const {
        if (!Contains(offset, 4)) return std::nullopt;
        return static_cast<std::uint32_t>(data_[offset]) |
               static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(data_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(data_[offset + 3]) << 24;
    }
    const std::uint8_t* At(std::uint64_t offset) const { return data_ + offset; }

  private:
    const std::uint8_t* data_;
    std::uint64_t size_;
};

struct TSections {
    std::uint64_t TableOffset = 0;
    std::uint64_t Count = 0;
};

// The file offset of `length` bytes at `rva`: the first section whose raw data holds the RVA, as the
// platform's RVA lookup picks it (its end computed in 32 bits, so a section whose end wraps holds
// nothing); the bytes must lie inside that raw data and inside the file. The section table itself
// must already be known to lie inside the file.
std::optional<std::uint64_t> RvaToOffset(const TPeBytes& image, const TSections& sections, std::uint32_t rva,
                                         std::uint64_t length);

} // namespace attente
