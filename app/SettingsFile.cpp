// Settings-file reading through the platform's profile functions.
#include "SettingsFile.h"

#include "AnsiText.h"
#include "LanguageValues.h"
#include "ModuleFiles.h"
#include "PathRules.h"
#include "TextFormat.h"

#include <windows.h>

namespace attente {

namespace {

constexpr char kSettingsExtension[] = ".ini";
constexpr wchar_t kGeneralSection[] = L"General";
constexpr wchar_t kLanguageKey[] = L"Language";
constexpr DWORD kValueBufferSize = 2048;

} // namespace

std::string SettingsFilePath() {
    const std::string exePath = ModulePath(nullptr);
    if (exePath.empty()) return {};
    // UTF-8 has no byte of a backslash or a dot inside another character.
    return ReplaceExtension(exePath, kSettingsExtension);
}

void ReadSettingsFile() {
    const std::string path = SettingsFilePath();
    if (!FileExists(path) || !RequestedLanguage.empty()) return;
    std::wstring buffer(kValueBufferSize, L'\0');
    const DWORD length = GetPrivateProfileStringW(kGeneralSection, kLanguageKey, L"", buffer.data(),
                                                  kValueBufferSize, Utf8ToWide(path).c_str());
    // The value is a logic text: in the code page, as the ANSI reading gives it.
    RequestedLanguage =
        WideToAnsi({buffer.data(), length < kValueBufferSize ? length : kValueBufferSize - 1});
}

} // namespace attente
