// Where the parts of a built language module lie in its file, for the tests that damage modules on
// purpose: the crafted modules and the module fuzzer. Only sound modules of our own build are laid out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace attente::test {

constexpr std::size_t kSectionVirtualSizeField = 8;
constexpr std::size_t kSectionRvaField = 12;
constexpr std::size_t kSectionRawSizeFieldOffset = 16;
constexpr std::size_t kSectionRawPointerFieldOffset = 20;
constexpr std::size_t kImageSizeField = 56;

struct TResourceData {
    std::size_t Entry = 0;  // the data entry: RVA, size
    std::size_t Offset = 0; // the data in the file
    std::uint32_t Size = 0;
    bool StringBlock = false;
    bool Description = false; // TFORM1
};

struct TModuleLayout {
    std::size_t PeHeader = 0;
    std::size_t OptionalHeader = 0;
    std::size_t ResourceDirectoryEntry = 0; // the data-directory slot: RVA, size
    std::size_t Section = 0;                // the header of the section that holds the tree
    std::vector<std::size_t> SectionHeaders;
    std::vector<std::size_t> Directories;
    std::vector<std::size_t> LanguageDirectories; // the third level: one per resource
    std::vector<std::size_t> Entries;
    std::vector<std::size_t> Names;
    std::vector<TResourceData> Data;
};

std::uint32_t Get32(const std::string& bytes, std::size_t at);
void Put16(std::string& bytes, std::size_t at, std::uint32_t value);
void Put32(std::string& bytes, std::size_t at, std::uint32_t value);

// Nothing when the bytes are not a module of the kind the build makes (one tree inside one section).
std::optional<TModuleLayout> LayoutOf(const std::string& module);

// The two modules found to crash or blank the program when it mapped modules as images: every
// resource's data moved beyond the tree section's virtual size and beyond the image size (the raw data
// grown to hold it), and the same module untouched but for a section virtual size cut to 16 bytes.
std::string DataBeyondImage(const std::string& module);
std::string ShrunkVirtualSize(const std::string& module);

// Shapes the platform reads otherwise than one walk of the tree, grown at the end of the tree's
// section (empty when the module is not laid out as built). A resource given a second language
// (`language`) whose data is another resource's: the `resource`th language directory is copied there
// with one more entry. A string made `units` units long: the `block`th string block is copied there
// with its `string`th string replaced by that many letters.
std::string SecondLanguage(const std::string& module, std::size_t resource, std::uint32_t language,
                           std::size_t otherData);
std::string LongString(const std::string& module, std::size_t block, int string, std::size_t units);

// The image as it would have been linked at `base`: every absolute address its relocations name moved
// by the difference, and the preferred base set. Empty when it is no PE32 image with relocations.
std::string RebasedImage(const std::string& image, std::uint32_t base);

} // namespace attente::test
