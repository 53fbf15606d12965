// Letter-case changes limited to a to z: texts are in the ANSI code page, whose other letters the
// program leaves as they are.
#pragma once

#include <string>
#include <string_view>

namespace attente {

std::string UpperAscii(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace attente
