// Whether a path names an existing file; a directory does not count.
#pragma once

#include <string>

namespace attente {

bool FileExists(const std::string& path);

} // namespace attente
