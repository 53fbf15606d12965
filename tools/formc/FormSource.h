// The human-editable description source (.form): parsed into the record tree that the compiler
// writes as a stream. The syntax is described in docs/description-format.md.
#pragma once

#include "DescriptionTree.h"
#include "Exceptions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace attente {

// A source that cannot be compiled; the message starts with "path:line:column: ".
class EFormSourceError : public Exception {
  public:
    using Exception::Exception;
    const char* KindName() const noexcept override { return "EFormSourceError"; }
};

// Gives the bytes of a file a source names (`file "clock.ico"`), the name as written; raises
// EFormSourceError (or any Exception) when it cannot.
using TFileLoader = std::function<std::vector<std::uint8_t>(const std::string& name)>;

// Parses `text`, read from `sourceName` (used in messages only).
TDescriptionRecord ParseFormSource(const std::string& text, const std::string& sourceName,
                                   const TFileLoader& loadFile);

} // namespace attente
