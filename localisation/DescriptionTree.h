// A window description held in memory, and its conversion to and from the stream: the compiler
// writes with it, the tests and the fuzzer read back with it.
#pragma once

#include "DescriptionStream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace attente {

struct TDescriptionProperty {
    std::string Name; // dotted for nested properties: "Font.Height"
    TValue Value;
    bool operator==(const TDescriptionProperty&) const = default;
};

struct TDescriptionRecord {
    std::uint8_t Flags = 0;
    std::string ClassName;
    std::string Name;
    std::vector<TDescriptionProperty> Properties;
    std::vector<TDescriptionRecord> Children;
    bool operator==(const TDescriptionRecord&) const = default;
};

// The stream for `root`; raises Exception when the tree cannot be written (a name too long or not a
// name, too many entries, nesting too deep), so a bad source never yields a stream the reader refuses.
std::vector<std::uint8_t> WriteDescription(const TDescriptionRecord& root);

// Reads a whole stream into a tree; EReadError when it is malformed.
TDescriptionRecord ReadDescriptionTree(TByteSource& source);
TDescriptionRecord ReadDescriptionTree(const std::vector<std::uint8_t>& stream);

} // namespace attente
