// The file-system and locale calls behind module loading: the executable's path, abbreviations,
// existence checks and opening a module as data. Paths are UTF-8 and reach the platform as UTF-16,
// so that a folder named in a script the system's code page lacks still works.
#pragma once

#include <windows.h>

#include "Diagnostics.h"
#include "Handles.h"
#include "ModulePath.h"

#include <string>

namespace attente {

// The module's full path as the platform reports it, or empty when the call fails or the path does
// not fit in `capacity` UTF-16 units with its zero (a truncated path must never name a candidate).
// Capacity is at most kPathBufferSize; smaller values exist for the tests of truncation.
std::string ModulePath(HMODULE module, DWORD capacity = kPathBufferSize);
// The same in UTF-16, for any capacity.
std::wstring ModulePathW(HMODULE module, DWORD capacity);

// The long form of a path (every component in its long form); the path itself when that fails or
// does not fit.
std::string LongPathOf(const std::string& path);

// LOCALE_SABBREVLANGNAME of the locale (at most 4 characters), empty when the platform has none.
std::string LocaleAbbrev(LCID lcid);

// True when a file, not a directory, exists under that name.
bool FileExists(const std::string& path);

// A language module mapped as a data file, and its file held open with neither write nor delete
// sharing: a data-file view shows whatever is later written to its file, so nobody may change the
// checked bytes while they are read. The module is released before the file.
struct TDataModule {
    TFile File;
    TModule Module;
    explicit operator bool() const { return static_cast<bool>(Module); }
};

// Opens a language module as a data file (no code in it ever runs) once its bytes have passed
// IsSoundResourceImage; nothing when it is missing, unreadable, malformed or does not open.
TDataModule OpenModuleAsData(const std::string& path);
// The same, telling why a file did not open (`error`: the platform's code when it did not open).
TDataModule OpenModuleAsData(const std::string& path, TDiagOutcome& outcome, DWORD& error);

} // namespace attente
