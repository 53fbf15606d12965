// Temp folders, module copies, registry entries and probe runs for the module-loading tests.
#include "ModuleFixture.h"

#include "Handles.h"
#include "ModuleLayout.h"
#include "ModuleProbe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace attente::test {

namespace {

constexpr const char* kLocalesKeyPath = "Software\\Attente\\Locales";
constexpr const char* kAttenteKeyPath = "Software\\Attente";
constexpr DWORD kAbbrevSize = 5;
constexpr const char* kNotAModule = "This is a text file, not a language module.\r\n";

// Extended-length form, so that fixtures beyond the 8-bit API's limit can be made and removed.
std::wstring LongForm(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    return L"\\\\?\\" + wide;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data{};
    TFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find.Get(), &data));
    }
    find.Reset();
    RemoveDirectoryW(path.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    TFile file(CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(bytes.empty() ||
                WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

void CopyInto(const std::string& from, const std::string& to) {
    ASSERT_TRUE(CopyFileW(LongForm(from).c_str(), LongForm(to).c_str(), FALSE)) << from << " -> " << to;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

} // namespace

std::string DistPath(const std::string& name) {
    const char* dist = std::getenv("ATTENTE_DIST_DIR");
    std::string path = dist ? dist : "";
    // ctest hands over the build machine's path; Wine shows the root of that file system as Z:.
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path + "\\" + name;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ThreadAbbrev() {
    char abbrev[kAbbrevSize] = {};
    GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, abbrev, kAbbrevSize);
    return abbrev;
}

std::string Expand(const std::string& pattern) {
    const std::string three = ThreadAbbrev();
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "{3}") == 0) {
            out += three;
            i += 2;
        } else if (pattern.compare(i, 3, "{2}") == 0) {
            out += three.substr(0, 2);
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

TTempFolder::TTempFolder() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    path_ =
        base + "\\attente-modules-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    RemoveTree(LongForm(path_));
    CreateDirectoryW(LongForm(path_).c_str(), nullptr);
}

TTempFolder::~TTempFolder() {
    RemoveTree(LongForm(path_));
}

void TTempFolder::MakeParents(const std::string& relative) const {
    for (std::size_t slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', slash + 1))
        CreateDirectoryW(LongForm(Full(relative.substr(0, slash))).c_str(), nullptr);
}

void TTempFolder::Put(const std::string& relative, TContent content) const {
    MakeParents(relative);
    const std::string path = Full(relative);
    switch (content) {
    case TContent::German:
        CopyInto(DistPath("attente.DE"), path);
        break;
    case TContent::English:
        CopyInto(DistPath("attente.ENU"), path);
        break;
    case TContent::Exe:
        CopyInto(DistPath("attente.exe"), path);
        break;
    case TContent::Text:
        WriteBytes(path, kNotAModule);
        break;
    case TContent::Truncated: {
        const std::string module = ReadWholeFile(DistPath("attente.DE"));
        ASSERT_FALSE(module.empty());
        WriteBytes(path, module.substr(0, module.size() / 2));
        break;
    }
    case TContent::Empty:
        WriteBytes(path, "");
        break;
    case TContent::DataBeyondImage:
    case TContent::ShrunkVirtualSize: {
        const std::string module = ReadWholeFile(DistPath("attente.DE"));
        const std::string crafted =
            content == TContent::DataBeyondImage ? DataBeyondImage(module) : ShrunkVirtualSize(module);
        ASSERT_FALSE(crafted.empty()) << "attente.DE is not laid out as the crafting expects";
        WriteBytes(path, crafted);
        break;
    }
    case TContent::TwoLanguages:
    case TContent::ZeroInName: {
        constexpr std::uint32_t kEnglish = 0x0409;
        std::string crafted = ReadWholeFile(DistPath("attente.DE"));
        const std::optional<TModuleLayout> layout = LayoutOf(crafted);
        ASSERT_TRUE(layout) << "attente.DE is not laid out as the crafting expects";
        if (content == TContent::TwoLanguages) {
            crafted = SecondLanguage(crafted, 0, kEnglish, 1);
        } else {
            ASSERT_FALSE(layout->Names.empty());
            for (std::size_t name : layout->Names)
                Put16(crafted, name + 2 * (Get32(crafted, name) & 0xFFFF), 0);
        }
        ASSERT_FALSE(crafted.empty());
        WriteBytes(path, crafted);
        break;
    }
    case TContent::Directory:
        ASSERT_TRUE(CreateDirectoryW(LongForm(path).c_str(), nullptr)) << path;
        break;
    }
}

void TTempFolder::PutProbe(const std::string& relative) const {
    MakeParents(relative);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CopyInto(self, Full(relative));
}

std::string TProbeReport::operator[](const std::string& key) const {
    const auto found = Values.find(key);
    return found == Values.end() ? "<missing " + key + ">" : found->second;
}

TProbeReport RunProbe(const TTempFolder& folder, const std::string& exe,
                      const std::vector<std::string>& steps) {
    TProbeReport report;
    const std::string reportPath = folder.Full("probe-report.txt");
    DeleteFileA(reportPath.c_str());
    std::string commandLine = "\"" + exe + "\" " + kProbeSwitch + " \"" + reportPath + "\"";
    for (const std::string& step : steps)
        commandLine += " " + step;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe << ": error " << GetLastError();
        report.ExitCode = ~0u;
        return report;
    }
    TKernelHandle thread(process.hThread);
    TKernelHandle child(process.hProcess);
    WaitForSingleObject(child.Get(), INFINITE);
    GetExitCodeProcess(child.Get(), &report.ExitCode);
    std::istringstream lines(ReadWholeFile(reportPath));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            report.Values[line.substr(0, equals)] = Unescape(line.substr(equals + 1));
    }
    return report;
}

TLocalesEntries::~TLocalesEntries() {
    for (const TValue& value : values_) {
        TRegKey key;
        if (RegOpenKeyExA(value.Root, kLocalesKeyPath, 0, KEY_SET_VALUE, key.Receive()) == ERROR_SUCCESS)
            RegDeleteValueA(key.Get(), value.Name.empty() ? nullptr : value.Name.c_str());
    }
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it)
        RegDeleteKeyA(it->Root, it->Key.c_str());
}

void TLocalesEntries::CreateKey(HKEY root) {
    for (const char* path : {kAttenteKeyPath, kLocalesKeyPath}) {
        TRegKey key;
        DWORD disposition = 0;
        ASSERT_EQ(
            RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), &disposition),
            ERROR_SUCCESS);
        if (disposition == REG_CREATED_NEW_KEY) createdKeys_.push_back({root, path});
    }
}

void TLocalesEntries::Set(HKEY root, const std::string& name, DWORD type, const std::string& data) {
    CreateKey(root);
    TRegKey key;
    ASSERT_EQ(RegOpenKeyExA(root, kLocalesKeyPath, 0, KEY_SET_VALUE, key.Receive()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), name.empty() ? nullptr : name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    values_.push_back({root, name});
}

bool LocalesKeyExists(HKEY root) {
    TRegKey key;
    return RegOpenKeyExA(root, kLocalesKeyPath, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

std::string Sz(const std::string& text) {
    return std::string(text.c_str(), text.size() + 1);
}

} // namespace attente::test
