// Splits a raw command line into arguments by the program's own rules, which differ from both the C
// runtime's argv and CommandLineToArgvW (no backslash escapes, "" skipped where an argument begins).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace attente {

// Whether a byte opens a two-byte character in the code page the text is in.
using TIsLeadByte = bool (*)(unsigned char byte);

bool NoLeadBytes(unsigned char byte);

// Argument 0 is the program's path as written on the command line. Never reads past the view, also
// when a lead byte is the last byte of the text. `starts`, when given, receives where each argument
// begins in `raw`.
std::vector<std::string> SplitCommandLine(std::string_view raw, TIsLeadByte isLeadByte = NoLeadBytes,
                                          std::vector<std::size_t>* starts = nullptr);

} // namespace attente
