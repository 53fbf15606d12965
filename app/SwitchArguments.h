// The switches of a raw command line: arguments 1 to n, where a /RUN= item takes the rest of the line
// as written, so that the installer's command reaches it with its quotes, spaces and arguments, and
// nothing after it is taken for a switch of ours.
#pragma once

#include "CommandLineSplit.h"
#include "SwitchList.h"

#include <string>
#include <string_view>
#include <vector>

namespace attente {

// The /RUN= item keeps its name as written; its value is everything after the "=" to the end of the
// line, trailing separators dropped. When the item opened with a double quote ("/RUN=...") and the
// line ends with one, that last quote closes the item and is dropped too.
std::vector<std::string> SwitchArguments(std::string_view raw, TIsLeadByte isLeadByte,
                                         TNamesEqual namesEqual);

} // namespace attente
