// The language modules of a built distribution: their file names and the strings each carries;
// header-only, for test programs that cannot link the shared test support.
#pragma once

#include "Handles.h"
#include "ResourceSource.h"

#include <windows.h>

#include <string>
#include <vector>

namespace attente::test {

constexpr UINT kModuleStrings[] = {kLanguageIdString,       kStatusTextString, kResourceNotFoundString,
                                   kAncestorNotFoundString, kErrorTitleString, kExceptionTextString};

// The names of the files that `pattern` (a path ending in "attente.*") finds, but the exe's.
inline std::vector<std::string> DistModuleNames(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    const TFindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "attente.exe") names.push_back(name);
    } while (FindNextFileA(find.Get(), &data));
    return names;
}

} // namespace attente::test
