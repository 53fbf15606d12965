// Test folders: unique names, long-form paths (the name under which the program looks itself up),
// and recursive removal.
#include "TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace attente::test {

namespace {

std::string LongForm(const std::string& path) {
    std::vector<char> buffer(32768, '\0');
    const DWORD length = GetLongPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return path;
    return std::string(buffer.data(), length);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace

TTempFolder::TTempFolder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    static unsigned counter = 0;
    for (;;) {
        const std::string candidate = std::string(temp) + "attente-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = LongForm(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + candidate);
    }
}

TTempFolder::~TTempFolder() {
    RemoveTree(path_);
}

void TTempFolder::Write(const std::string& name, const std::string& content) const {
    HANDLE file = CreateFileA(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << File(name);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, content.size());
}

void TTempFolder::Copy(const std::string& source, const std::string& name) const {
    ASSERT_TRUE(CopyFileA(source.c_str(), File(name).c_str(), FALSE)) << source << " -> " << File(name);
}

void TTempFolder::MakeFolder(const std::string& name) const {
    ASSERT_TRUE(CreateDirectoryA(File(name).c_str(), nullptr)) << File(name);
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
