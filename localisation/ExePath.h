// The running executable's full path as the platform reports it: in the ANSI code page for lookups,
// in UTF-16 for what the user reads.
#pragma once

#include <string>

namespace attente {

// Read through a 261-character buffer; a path that does not fit is reported as empty, since a cut-off
// path names some other file (or registry value).
std::string ExeFullPath();

// Whole, whatever its length; empty only when the platform gives nothing.
std::wstring ExeFullPathW();

} // namespace attente
