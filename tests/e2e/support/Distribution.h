// Test support: the built distribution copied into a scratch folder and started as an installer
// would start it, with its windows found by process and read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace attente::test {

// The distribution folder (build/windows/dist), as a Windows path.
std::string DistDir();

// A scratch folder under %TEMP%, removed with everything in it when the object goes.
class TFixtureFolder {
public:
    TFixtureFolder();
    ~TFixtureFolder();
    TFixtureFolder(const TFixtureFolder&) = delete;
    TFixtureFolder& operator=(const TFixtureFolder&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    // Copies a file of the distribution (e.g. "attente.exe", "attente.DEU") under another name.
    std::string CopyFromDist(const std::string& distName, const std::string& asName) const;
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string dir_;
};

struct TChildWindow {
    std::string ClassName;
    std::wstring Text;
    bool Visible = false;
    RECT Rect{}; // in screen coordinates
};

// A started program; killed when the object goes if it is still running.
class TRunningProgram {
public:
    TRunningProgram(const std::string& exePath, const std::string& arguments);
    ~TRunningProgram();
    TRunningProgram(const TRunningProgram&) = delete;
    TRunningProgram& operator=(const TRunningProgram&) = delete;

    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    // The first visible top-level window of the process, or null after the timeout.
    HWND WaitForWindow(DWORD timeoutMs = 20000) const;
    // Waits for the end of the process; returns its exit code, or STILL_ACTIVE after the timeout.
    DWORD WaitForExit(DWORD timeoutMs = 20000) const;

private:
    PROCESS_INFORMATION info_{};
};

std::vector<TChildWindow> ChildWindows(HWND parent);
std::wstring WindowText(HWND window);
std::string WindowClass(HWND window);

// The window's client area as it stands on the screen, copied into a 32-bit bitmap.
class TRendered {
public:
    explicit TRendered(HWND window);
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const; // as a COLORREF (0x00BBGGRR)

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// A registry value set for the length of a test and removed (with keys it created) afterwards.
class TRegistryValue {
public:
    TRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                   const void* data, DWORD size);
    TRegistryValue(HKEY root, const std::string& subKey, const std::string& name, const std::string& text);
    ~TRegistryValue();
    TRegistryValue(const TRegistryValue&) = delete;
    TRegistryValue& operator=(const TRegistryValue&) = delete;

private:
    HKEY root_;
    std::string subKey_;
    std::string name_;
};

// Removes a key and everything below it; used by tests to start from a known registry.
void DeleteRegistryTree(HKEY root, const std::string& subKey);

} // namespace attente::test
