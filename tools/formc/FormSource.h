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

// Gives the bytes of a file a source names (`file "clock.ico"`, `based on "../Form1.form"`), its path
// joined to the folder of the source naming it; raises EFormSourceError (or any Exception) when it
// cannot.
using TFileLoader = std::function<std::vector<std::uint8_t>(const std::string& path)>;

// Parses `text`, read from `sourceName` (in messages, and the folder other files are found from),
// with the descriptions it is based on: the whole description, as if written out in full.
TDescriptionRecord ParseFormSource(const std::string& text, const std::string& sourceName,
                                   const TFileLoader& loadFile);

} // namespace attente
