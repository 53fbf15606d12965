// Looks up the per-executable language entry and maintains its per-user copy.
#include "ModuleLocaleOverride.h"

#include "AnsiText.h"
#include "AsciiCase.h"
#include "Diagnostics.h"
#include "Handles.h"
#include "LocaleOverride.h"
#include "ModuleFiles.h"
#include "RegTextValue.h"
#include "TextFormat.h"

#include <windows.h>

namespace attente {

namespace {

// Read access, then ever smaller rights for keys whose security refuses the broader ones.
constexpr REGSAM kReadMasks[] = {0x20019, 0x20009, 0x1};
constexpr REGSAM kFullAccess = 0xF003F;

TRegKey OpenForReading(HKEY root) {
    for (REGSAM mask : kReadMasks) {
        TRegKey key;
        if (RegOpenKeyExA(root, kLocalesKey, 0, mask, key.Receive()) == ERROR_SUCCESS) return key;
    }
    return TRegKey();
}

// Under the path as reported, else under its long form: a process started through an 8.3 path
// reports that path, while installers write the long one, and an entry under either name counts.
TRegTextValue ReadEntry(HKEY root, const std::string& exePath, const std::string& longPath) {
    const TRegKey key = OpenForReading(root);
    if (!key) return {};
    TRegTextValue value = ReadRegTextValue(key.Get(), exePath);
    if (value.Kind == TRegValueKind::Missing && longPath != exePath)
        value = ReadRegTextValue(key.Get(), longPath);
    return value;
}

enum class TCopyResult { Written, NoUserKey, Refused };

TCopyResult CopyToUser(const std::string& exePath, const std::string& text) {
    TRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kLocalesKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kFullAccess,
                        nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return TCopyResult::NoUserKey;
    const std::wstring data = AnsiToWide(text);
    const DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key.Get(), Utf8ToWide(exePath).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()), size) != ERROR_SUCCESS)
        return TCopyResult::Refused;
    return TCopyResult::Written;
}

std::string LookUp(const std::string& exePath) {
    Diagnostics.Override(TOverrideSource::None);
    // Without the path there is no value name; the empty name would read the key's default value.
    if (exePath.empty()) return {};

    const std::string longPath = LongPathOf(exePath);
    const TRegTextValue user = ReadEntry(HKEY_CURRENT_USER, exePath, longPath);
    if (user.Kind == TRegValueKind::NotText) {
        Diagnostics.Override(TOverrideSource::NotText);
        return {};
    }
    if (!user.Text.empty()) {
        Diagnostics.Override(TOverrideSource::PerUser);
        return UpperAscii(user.Text);
    }

    const TRegTextValue machine = ReadEntry(HKEY_LOCAL_MACHINE, exePath, longPath);
    if (machine.Kind == TRegValueKind::NotText) Diagnostics.Override(TOverrideSource::NotText);
    if (machine.Kind == TRegValueKind::NotText || machine.Text.empty()) return {};
    switch (CopyToUser(exePath, machine.Text)) {
    case TCopyResult::Refused:
        Diagnostics.Override(TOverrideSource::CopyRefused);
        return {};
    case TCopyResult::NoUserKey:
        Diagnostics.Override(TOverrideSource::PerMachineNoUserKey);
        break;
    case TCopyResult::Written:
        Diagnostics.Override(TOverrideSource::PerMachineCopied);
        break;
    }
    return UpperAscii(machine.Text);
}

} // namespace

std::string GetModuleLocaleOverride(const std::string* exePath) {
    try {
        return LookUp(exePath ? *exePath : ModulePath(nullptr));
    } catch (...) {
        // Out of memory on a huge value, say: the entry counts as absent.
        Diagnostics.Override(TOverrideSource::None);
        return {};
    }
}

} // namespace attente
