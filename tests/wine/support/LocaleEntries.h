// Per-executable language entries for tests: written raw (any type, any bytes), read back raw, and
// removed again from both hives whatever the test did.
#pragma once

#include <windows.h>

#include <string>

namespace attente::test {

struct TRawValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    std::string Data;
};

// Text data as REG_SZ stores it, with its terminating zero.
std::string SzData(const std::string& text);

class TLocaleEntries {
  public:
    // `valueName`: the executable's full path, UTF-8. Any leftover entry of that name is removed first.
    explicit TLocaleEntries(std::string valueName);
    ~TLocaleEntries();
    TLocaleEntries(const TLocaleEntries&) = delete;
    TLocaleEntries& operator=(const TLocaleEntries&) = delete;

    void Set(HKEY root, DWORD type, const std::string& data) const;
    void SetText(HKEY root, const std::string& text) const { Set(root, REG_SZ, SzData(text)); }
    TRawValue Read(HKEY root) const;
    void Remove(HKEY root) const;

  private:
    std::string valueName_;
};

bool LocalesKeyExists(HKEY root);
// Removes the whole key; only for tests holding the registry lock.
void DeleteLocalesKey(HKEY root);
// The key's default (unnamed) value must be absent for some cases; removes it if present.
void RemoveLocalesDefaultValue(HKEY root);

} // namespace attente::test
