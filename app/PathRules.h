// File-name rules on Windows paths that need no platform call: the extension and the file name are
// found after the last backslash or colon.
#pragma once

#include "CommandLineSplit.h"

#include <string>
#include <string_view>

namespace attente {

// `path` with what follows the last "." after the last backslash or colon replaced by `extension`
// (which starts with its own "."); a path without such a "." gets `extension` appended. Trail bytes
// of two-byte characters are stepped over, so a trail byte of 0x5C is not taken for a backslash.
std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             TIsLeadByte isLeadByte = NoLeadBytes);

// What follows the last backslash or colon.
std::wstring ExtractFileName(std::wstring_view path);

// The file name without its extension (from its last "."): the application's title.
std::wstring ExtractFileTitle(std::wstring_view path);

} // namespace attente
