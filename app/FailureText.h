// The texts of the two error boxes: a failure while a message is handled, and one that ends start-up.
// Both keep to the punctuation rules users of the program already see, and never trust templates.
#pragma once

#include <cstdint>
#include <string>

namespace attente {

// The message with "." appended when it is not empty and its last character's code is above ".".
std::wstring LoopFailureText(const std::wstring& message);

// A code position as 8 (or, for wider addresses, 16) upper-case hex digits.
std::wstring FormatCodeAddress(std::uintptr_t address);

struct TStartupFailure {
    std::wstring Kind;    // the failure's class name
    std::wstring Module;  // the executable's file name without its directory
    std::wstring Address; // from FormatCodeAddress
    std::wstring Message;
};

// Fills `templ` (kind, module, address, message, then "." when the message is not empty and does not
// end with one). An empty template, as from a module that lacks it, is replaced by a neutral one that
// still names all four items.
std::wstring StartupFailureText(const std::wstring& templ, const TStartupFailure& failure);

} // namespace attente
