// Reads a registry value that should hold text, whatever its length, telling missing values from
// values of another type. Values are named in UTF-8, so that an executable's path in any script can
// name one; their texts come back in the ANSI code page, as the logic texts are.
#pragma once

#include <windows.h>

#include <string>

namespace attente {

// A value as the ANSI registry functions give it: text types converted to the code page, other types
// as stored.
struct TRegValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    std::string Data;
};

// `name` null reads the key's default value.
TRegValue ReadRegValue(HKEY key, const char* name);

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

bool IsRegTextType(DWORD type);

} // namespace attente
