// Test folders: unique names, long-form paths (the name under which the program looks itself up),
// and recursive removal.
#include "TempFolder.h"

#include "TextFormat.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace attente::test {

namespace {

std::wstring Wide(const std::string& path) {
    return attente::Utf8ToWide(path);
}

std::string LongForm(const std::string& path) {
    std::vector<wchar_t> buffer(32768, L'\0');
    const DWORD length =
        GetLongPathNameW(Wide(path).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return path;
    return attente::WideToUtf8(std::wstring(buffer.data(), length));
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

TTempFolder::TTempFolder(const std::string& nameTail) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    static unsigned counter = 0;
    for (;;) {
        const std::string candidate = attente::WideToUtf8(temp) + "attente-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(++counter) + nameTail;
        if (CreateDirectoryW(Wide(candidate).c_str(), nullptr)) {
            path_ = LongForm(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + candidate);
    }
}

TTempFolder::~TTempFolder() {
    RemoveTree(Wide(path_));
}

void TTempFolder::Write(const std::string& name, const std::string& content) const {
    HANDLE file = CreateFileW(Wide(File(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << File(name);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, content.size());
}

void TTempFolder::Copy(const std::string& source, const std::string& name) const {
    ASSERT_TRUE(CopyFileW(Wide(source).c_str(), Wide(File(name)).c_str(), FALSE))
        << source << " -> " << File(name);
}

void TTempFolder::MakeFolder(const std::string& name) const {
    ASSERT_TRUE(CreateDirectoryW(Wide(File(name)).c_str(), nullptr)) << File(name);
}

std::string WindowsForm(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

std::string DistFolder() {
    return WindowsForm(ATTENTE_DIST);
}

} // namespace attente::test
