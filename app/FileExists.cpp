// File existence through FindFirstFileA, the find handle owned for its short life.
#include "FileExists.h"

#include <windows.h>

namespace attente {

namespace {

class TFindHandle {
  public:
    explicit TFindHandle(HANDLE handle) : handle_(handle) {}
    ~TFindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

bool HasWildcards(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

} // namespace

bool FileExists(const std::string& path) {
    // FindFirstFileA would take wildcards as a pattern and report some other file.
    if (path.empty() || HasWildcards(path)) return false;
    WIN32_FIND_DATAA data = {};
    const TFindHandle find(FindFirstFileA(path.c_str(), &data));
    return find.Valid() && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace attente
