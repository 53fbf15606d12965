// Conversions between the 8-bit texts of the program's logic (the system's ANSI code page) and the
// UTF-16 and UTF-8 forms that file names, registry names and reports need.
#pragma once

#include <string>
#include <string_view>

namespace attente {

std::wstring AnsiToWide(std::string_view text);
// Characters the code page lacks become its default character, as the ANSI functions give them.
std::string WideToAnsi(std::wstring_view text);
std::string AnsiToUtf8(std::string_view text);

} // namespace attente
