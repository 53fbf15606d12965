// Fixture folders, started programs, window reading and rendering for the end-to-end tests.
#include "Distribution.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace attente::test {

namespace {

constexpr DWORD kPollMs = 50;

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

} // namespace

std::string DistDir() {
    const char* unixDir = std::getenv("ATTENTE_DIST_DIR");
    if (!unixDir || !*unixDir) throw std::runtime_error("ATTENTE_DIST_DIR is not set");
    std::string dir = unixDir;
    if (dir[0] == '/') {
        // Wine maps the Unix root to drive Z:.
        for (char& c : dir)
            if (c == '/') c = '\\';
        dir = "Z:" + dir;
    }
    return dir;
}

TFixtureFolder::TFixtureFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        dir_ = std::string(temp) + "attente-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter);
        if (CreateDirectoryA(dir_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + dir_);
    }
}

TFixtureFolder::~TFixtureFolder() { RemoveTree(dir_); }

std::string TFixtureFolder::CopyFromDist(const std::string& distName, const std::string& asName) const {
    const std::string target = Path(asName);
    if (!CopyFileA((DistDir() + "\\" + distName).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + distName + " to " + target);
    return target;
}

std::string TFixtureFolder::WriteFile(const std::string& name, const std::string& bytes) const {
    const std::string target = Path(name);
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + target);
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + target);
    return target;
}

TRunningProgram::TRunningProgram(const std::string& exePath, const std::string& arguments) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string directory = exePath.substr(0, exePath.find_last_of('\\'));
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &info_))
        throw std::runtime_error("cannot start " + commandLine);
}

TRunningProgram::~TRunningProgram() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

HWND TRunningProgram::WaitForWindow(DWORD timeoutMs) const {
    struct Search {
        DWORD pid;
        HWND found;
    };
    for (DWORD waited = 0;; waited += kPollMs) {
        Search search{info_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                GetWindowThreadProcessId(window, &pid);
                if (pid == s->pid && IsWindowVisible(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (waited >= timeoutMs || WaitForSingleObject(info_.hProcess, kPollMs) == WAIT_OBJECT_0) return nullptr;
    }
}

DWORD TRunningProgram::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::string WindowClass(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<TChildWindow> ChildWindows(HWND parent) {
    std::vector<TChildWindow> children;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            TChildWindow child;
            child.ClassName = WindowClass(window);
            child.Text = WindowText(window);
            child.Visible = IsWindowVisible(window) != FALSE;
            GetWindowRect(window, &child.Rect);
            reinterpret_cast<std::vector<TChildWindow>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

TRendered::TRendered(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // GDI handles do not cross processes, so the window is read back from the screen, where Xvfb
    // keeps exact pixels; the caller makes sure nothing covers it.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    pixels_.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width_ * height_);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF TRendered::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const DWORD rgb = pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

TRegistryValue::TRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                               const void* data, DWORD size)
    : root_(root), subKey_(subKey), name_(name) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create key " + subKey);
    const LONG status =
        RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set value " + name);
}

TRegistryValue::TRegistryValue(HKEY root, const std::string& subKey, const std::string& name, const std::string& text)
    : TRegistryValue(root, subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1)) {}

TRegistryValue::~TRegistryValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name_.empty() ? nullptr : name_.c_str());
        RegCloseKey(key);
    }
}

void DeleteRegistryTree(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteRegistryTree(key, name);
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, subKey.c_str());
}

} // namespace attente::test
