// Switch arguments up to and including /RUN=, whose value is cut from the raw line, not re-assembled
// from split pieces: splitting drops the quotes the command needs.
#include "SwitchArguments.h"

#include "SwitchNames.h"

namespace attente {

namespace {

constexpr char kQuote = '"';
constexpr char kNameEnd = '=';
constexpr unsigned char kLastSeparator = ' ';

std::string_view TrimTrailingSeparators(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= kLastSeparator)
        text.remove_suffix(1);
    return text;
}

} // namespace

std::vector<std::string> SwitchArguments(std::string_view raw, TIsLeadByte isLeadByte,
                                         TNamesEqual namesEqual) {
    if (const std::size_t end = raw.find('\0'); end != std::string_view::npos) raw = raw.substr(0, end);
    std::vector<std::size_t> starts;
    std::vector<std::string> arguments = SplitCommandLine(raw, isLeadByte, &starts);
    if (arguments.empty()) return arguments;
    arguments.erase(arguments.begin());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::size_t split = arguments[i].find(kNameEnd);
        if (split == std::string::npos || !namesEqual(UpperAscii(arguments[i].substr(0, split)), kRunSwitch))
            continue;
        const std::size_t start = starts[i + 1];
        // The name holds no "=" and a two-byte character's trail byte is never one, so the raw line's
        // first "=" from the item's start is the one that ended the name.
        std::string_view command = TrimTrailingSeparators(raw.substr(raw.find(kNameEnd, start) + 1));
        if (raw[start] == kQuote && !command.empty() && command.back() == kQuote) command.remove_suffix(1);
        arguments[i] = arguments[i].substr(0, split + 1).append(command);
        arguments.resize(i + 1);
        break;
    }
    return arguments;
}

} // namespace attente
