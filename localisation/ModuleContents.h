// What a language module holds, read from its bytes without the platform: header facts (entry point,
// code, imports, exports, sections) and resources by type and number or name. The module checker
// runs on the build machine, where no loader exists; only images the resource-tree check accepts are
// opened, so every offset followed here has been bounds-checked already.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace attente {

struct TModuleSection {
    std::string Name;
    std::uint32_t Characteristics = 0;
    bool Executable() const;
};

struct TModuleHeaders {
    bool Pe32 = false;
    std::uint32_t EntryPoint = 0;
    std::uint32_t CodeSize = 0;
    bool HasExports = false;
    bool HasImports = false;
    std::vector<TModuleSection> Sections;
};

class TModuleContents {
  public:
    // Empty when IsSoundResourceImage refuses the bytes; they must outlive the result.
    static std::optional<TModuleContents> Open(const std::uint8_t* data, std::size_t size);

    const TModuleHeaders& Headers() const { return headers_; }
    bool HasResources() const { return root_ != 0; }
    // The data of the first language of a resource, or nothing when there is none. A name is looked
    // up ignoring ASCII letter case, as the platform's resource lookup does.
    std::optional<std::vector<std::uint8_t>> Resource(std::uint32_t type, std::uint16_t id) const;
    std::optional<std::vector<std::uint8_t>> Resource(std::uint32_t type, const std::string& name) const;
    // The UTF-16 text of a resource string; empty when the string is missing or empty, which the
    // platform's string loader does not tell apart either.
    std::u16string String(std::uint16_t id) const;

  private:
    TModuleContents(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    // `languages` is the offset of a name's language directory within the tree.
    std::optional<std::vector<std::uint8_t>> FirstLanguage(std::uint32_t languages) const;

    const std::uint8_t* data_;
    std::size_t size_;
    TModuleHeaders headers_;
    std::uint64_t root_ = 0; // file offset of the resource tree, 0 when there is none
    std::uint64_t sectionTable_ = 0;
    std::uint64_t sectionCount_ = 0;
};

} // namespace attente
