// Fixtures for the module-loading tests: a temp folder with a copy of this test exe as setup.exe
// and real built modules beside it, Locales registry entries that clean up after themselves, and
// a runner that starts the copy in its probe role and reads back its report.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace attente::test {

// What a fixture file holds: copies of the built modules and exe, deliberately bad files, or the
// German module crafted as ModuleLayout.h describes.
enum class TContent {
    German,
    English,
    Exe,
    Text,
    Truncated,
    Empty,
    Directory,
    DataBeyondImage,
    ShrunkVirtualSize,
    // The German module whose first string block is also in English, with another block's strings;
    // and the German module whose TFORM1 name ends in a zero unit.
    TwoLanguages,
    ZeroInName
};

// A built file of the distribution (ATTENTE_DIST_DIR) as a Windows path.
std::string DistPath(const std::string& name);

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The abbreviation of this process's thread locale, which the probes inherit; patterns name
// fixture files after it: "{3}" stands for it, "{2}" for its first two letters.
std::string ThreadAbbrev();
std::string Expand(const std::string& pattern);

// A fresh folder under the temp directory, removed with everything in it at the end. Relative
// names may be nested and may exceed the 8-bit API's path limit.
class TTempFolder {
  public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string Full(const std::string& relative) const { return path_ + "\\" + relative; }
    void Put(const std::string& relative, TContent content) const;
    // This test exe, to be started in its probe role.
    void PutProbe(const std::string& relative) const;

  private:
    void MakeParents(const std::string& relative) const;
    std::string path_;
};

struct TProbeReport {
    DWORD ExitCode = 0;
    std::map<std::string, std::string> Values;
    std::string operator[](const std::string& key) const;
};

// Starts `exe` as "--probe <report> <steps...>" and waits for it.
TProbeReport RunProbe(const TTempFolder& folder, const std::string& exe,
                      const std::vector<std::string>& steps = {});

// Values under "Software\Attente\Locales"; everything set and every key created is removed again.
class TLocalesEntries {
  public:
    TLocalesEntries() = default;
    ~TLocalesEntries();
    TLocalesEntries(const TLocalesEntries&) = delete;
    TLocalesEntries& operator=(const TLocalesEntries&) = delete;

    void CreateKey(HKEY root);
    // `name` "" is the key's default value; `data` is stored byte for byte.
    void Set(HKEY root, const std::string& name, DWORD type, const std::string& data);

  private:
    struct TCreated {
        HKEY Root;
        std::string Key;
    };
    struct TValue {
        HKEY Root;
        std::string Name;
    };
    std::vector<TCreated> createdKeys_;
    std::vector<TValue> values_;
};

bool LocalesKeyExists(HKEY root);

// Text as a REG_SZ stores it: with its terminating zero.
std::string Sz(const std::string& text);

} // namespace attente::test
