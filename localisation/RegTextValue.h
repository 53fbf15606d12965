// Reads a registry value that should hold text, whatever its length, telling missing values from
// values of another type.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

enum class TRegValueKind {
    Missing, // absent, unreadable, or of another type with no data: reads as empty text
    Text,    // REG_SZ or REG_EXPAND_SZ (not expanded)
    NotText, // another type with data
};

struct TRegTextValue {
    TRegValueKind Kind = TRegValueKind::Missing;
    std::string Text; // up to the first zero byte; empty unless Kind is Text
};

TRegTextValue ReadRegTextValue(HKEY key, const std::string& name);

} // namespace attente
