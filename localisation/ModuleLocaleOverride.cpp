// Looks up the per-executable language entry and maintains its per-user copy.
#include "ModuleLocaleOverride.h"

#include "AsciiCase.h"
#include "Diagnostics.h"
#include "Handles.h"
#include "LocaleOverride.h"
#include "ModuleFiles.h"
#include "RegTextValue.h"

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

TRegTextValue ReadEntry(HKEY root, const std::string& exePath) {
    const TRegKey key = OpenForReading(root);
    if (!key) return {};
    return ReadRegTextValue(key.Get(), exePath);
}

enum class TCopyResult { Written, NoUserKey, Refused };

TCopyResult CopyToUser(const std::string& exePath, const std::string& text) {
    TRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kLocalesKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kFullAccess,
                        nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return TCopyResult::NoUserKey;
    const DWORD size = static_cast<DWORD>(text.size() + 1);
    if (RegSetValueExA(key.Get(), exePath.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       size) != ERROR_SUCCESS)
        return TCopyResult::Refused;
    return TCopyResult::Written;
}

std::string LookUp() {
    Diagnostics.Override(TOverrideSource::None);
    // Without the path there is no value name; the empty name would read the key's default value.
    const std::string exePath = ModulePath(nullptr);
    if (exePath.empty()) return {};

    const TRegTextValue user = ReadEntry(HKEY_CURRENT_USER, exePath);
    if (user.Kind == TRegValueKind::NotText) {
        Diagnostics.Override(TOverrideSource::NotText);
        return {};
    }
    if (!user.Text.empty()) {
        Diagnostics.Override(TOverrideSource::PerUser);
        return UpperAscii(user.Text);
    }

    const TRegTextValue machine = ReadEntry(HKEY_LOCAL_MACHINE, exePath);
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

std::string GetModuleLocaleOverride() {
    try {
        return LookUp();
    } catch (...) {
        // Out of memory on a huge value, say: the entry counts as absent.
        Diagnostics.Override(TOverrideSource::None);
        return {};
    }
}

} // namespace attente
