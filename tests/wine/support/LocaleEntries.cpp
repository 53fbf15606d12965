// Raw registry access for the tests, kept apart from the product's reader so that each checks the other.
#include "LocaleEntries.h"

#include "LocaleOverride.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace attente::test {

namespace {

constexpr char kAttenteKey[] = "Software\\Attente";

// Keys the test or the program created are removed once nothing is left in them; keys that hold
// anything else are not ours to remove.
void DeleteIfEmpty(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                         nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyA(root, path);
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Value names are UTF-8 (any path), data as the ANSI functions take and give it: text in the ANSI
// code page, converted byte for byte as they convert it.
std::string DataAsStored(DWORD type, const std::string& data) {
    if (!IsText(type) || data.empty()) return data;
    std::wstring wide(data.size(), L'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), wide.data(),
                                          static_cast<int>(wide.size()));
    return std::string(reinterpret_cast<const char*>(wide.data()), static_cast<std::size_t>(units) * 2);
}

std::string DataAsRead(DWORD type, const std::string& stored) {
    if (!IsText(type) || stored.size() < 2) return stored;
    const std::wstring wide(reinterpret_cast<const wchar_t*>(stored.data()), stored.size() / 2);
    std::string data(wide.size() * 2, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), data.data(),
                                          static_cast<int>(data.size()), nullptr, nullptr);
    data.resize(static_cast<std::size_t>(bytes));
    return data;
}

} // namespace

std::string SzData(const std::string& text) {
    return text + '\0';
}

TLocaleEntries::TLocaleEntries(std::string valueName) : valueName_(std::move(valueName)) {
    Remove(HKEY_CURRENT_USER);
    Remove(HKEY_LOCAL_MACHINE);
}

TLocaleEntries::~TLocaleEntries() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        Remove(root);
        DeleteIfEmpty(root, kLocalesKey);
        DeleteIfEmpty(root, kAttenteKey);
    }
}

void TLocaleEntries::Set(HKEY root, DWORD type, const std::string& data) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, kLocalesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string stored = DataAsStored(type, data);
    const LONG result =
        RegSetValueExW(key, attente::Utf8ToWide(valueName_).c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(stored.data()), static_cast<DWORD>(stored.size()));
    RegCloseKey(key);
    ASSERT_EQ(result, ERROR_SUCCESS);
}

TRawValue TLocaleEntries::Read(HKEY root) const {
    TRawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kLocalesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    const std::wstring name = attente::Utf8ToWide(valueName_);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 2, '\0');
        if (RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            value.Exists = true;
            value.Data = DataAsRead(value.Type, std::string(data.data(), size));
        }
    }
    RegCloseKey(key);
    return value;
}

void TLocaleEntries::Remove(HKEY root) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kLocalesKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, attente::Utf8ToWide(valueName_).c_str());
    RegCloseKey(key);
}

bool LocalesKeyExists(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kLocalesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void DeleteLocalesKey(HKEY root) {
    RegDeleteKeyA(root, kLocalesKey);
}

void RemoveLocalesDefaultValue(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kLocalesKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
}

} // namespace attente::test
