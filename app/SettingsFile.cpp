// Settings-file reading through the platform's profile functions.
#include "SettingsFile.h"

#include "CommandLine.h"
#include "LanguageValues.h"
#include "ModuleFiles.h"
#include "PathRules.h"

#include <windows.h>

#include <vector>

namespace attente {

namespace {

constexpr char kSettingsExtension[] = ".ini";
constexpr char kGeneralSection[] = "General";
constexpr char kLanguageKey[] = "Language";
constexpr DWORD kValueBufferSize = 2048;

} // namespace

std::string SettingsFilePath() {
    const std::string exePath = ModulePath(nullptr);
    if (exePath.empty()) return {};
    return ReplaceExtension(exePath, kSettingsExtension, IsAnsiLeadByte);
}

void ReadSettingsFile() {
    const std::string path = SettingsFilePath();
    if (!FileExists(path) || !RequestedLanguage.empty()) return;
    std::vector<char> buffer(kValueBufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(kGeneralSection, kLanguageKey, "", buffer.data(),
                                                  kValueBufferSize, path.c_str());
    RequestedLanguage.assign(buffer.data(), length < kValueBufferSize ? length : kValueBufferSize - 1);
}

} // namespace attente
