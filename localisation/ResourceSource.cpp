// The executable's module record and the one resource source every resource read goes through.
#include "ResourceSource.h"

#include "AnsiText.h"
#include "Diagnostics.h"
#include "Handles.h"
#include "LocaleOverride.h"
#include "ModuleFiles.h"
#include "ModulePath.h"

#include <optional>

namespace attente {

namespace {

constexpr int kStringBufferSize = 1024;
constexpr const char* kEnglishExtensions[] = {"en", "eng", "enu"};
constexpr const char* kEnglishTwoLetter = "en";

TModuleRecord gRecord;
bool gRecordSet = false;
// Owns gRecord.ResourceSource whenever that is not the instance: exactly one reference.
TModule gInstalledModule;
// The installed module's file, held against writers when the module came from OpenModuleAsData.
TFile gInstalledFile;

// Every attempt goes to the diagnostics recorder: a few bytes copied, whether or not a report is
// wanted later.
TDataModule OpenRecorded(TDiagPhase phase, const std::string& path, const char* extension,
                         TDiagOutcome* why = nullptr) {
    TDiagOutcome outcome{};
    DWORD error = 0;
    TDataModule module = OpenModuleAsData(path, outcome, error);
    if (why) *why = outcome;
    Diagnostics.Candidate(phase, extension, outcome, error);
    return module;
}

// `extension` is a logic text (the registry's override may hold any letters of the code page); the
// path is UTF-8.
TDataModule OpenCandidate(TDiagPhase phase, const std::string& path, const std::string& extension) {
    const std::optional<std::string> candidate = ModuleCandidate(path, AnsiToUtf8(extension));
    if (!candidate) return {};
    return OpenRecorded(phase, *candidate, extension.c_str());
}

// Start-up order: the override, then the thread locale's three-letter and two-letter abbreviations.
TDataModule SelectStartupModule(HINSTANCE instance) {
    const std::string path = ModulePath(instance);
    if (path.empty()) return {};
    const std::string override = ReadStartupOverride(path);
    Diagnostics.StartupOverride(override.c_str());
    const std::string abbrev = LocaleAbbrev(GetThreadLocale());
    if ((override.empty() && abbrev.empty()) || !FindExtensionDot(path)) return {};
    TDataModule module;
    constexpr TDiagPhase kPhase = TDiagPhase::Startup;
    if (!override.empty()) module = OpenCandidate(kPhase, path, override);
    if (!module && !abbrev.empty()) module = OpenCandidate(kPhase, path, abbrev);
    if (!module && !abbrev.empty()) module = OpenCandidate(kPhase, path, TwoLetterForm(abbrev));
    return module;
}

// Opening the running executable as data hands back its own instance (with one more reference,
// dropped here) rather than a second mapping; a module that did not open leaves the instance too,
// which reads the same built-in resources. The instance is owned by nobody.
HINSTANCE InstallOpened(TDataModule opened) {
    if (!opened || opened.Module.Get() == gRecord.Instance) return InstallResourceModule(gRecord.Instance);
    const HINSTANCE installed = InstallResourceModule(opened.Module.Release());
    gInstalledFile = std::move(opened.File);
    return installed;
}

// The first English file that exists is the one opened; one that fails the check counts as missing.
TDataModule OpenEnglishModule(const std::string& path) {
    for (const char* extension : kEnglishExtensions) {
        const std::optional<std::string> candidate = ModuleCandidate(path, extension);
        if (!candidate) continue;
        if (!FileExists(*candidate)) {
            Diagnostics.Candidate(TDiagPhase::Resolution, extension, TDiagOutcome::Absent);
            continue;
        }
        TDiagOutcome outcome{};
        TDataModule module = OpenRecorded(TDiagPhase::Resolution, *candidate, extension, &outcome);
        if (outcome != TDiagOutcome::NotSound) return module;
    }
    return {};
}

} // namespace

void InitModuleRecord(HINSTANCE instance) {
    ReleaseModuleRecord();
    gRecord.Instance = instance;
    gRecord.ResourceSource = nullptr;
    gRecordSet = true;
}

void ReleaseModuleRecord() {
    gInstalledModule.Reset();
    gInstalledFile.Reset();
    gRecord = TModuleRecord{};
    gRecordSet = false;
}

TModuleRecord* ExeModuleRecord() {
    return gRecordSet ? &gRecord : nullptr;
}

void StartupSelection() {
    if (!gRecordSet || gRecord.ResourceSource) return;
    InstallOpened(SelectStartupModule(gRecord.Instance));
}

HINSTANCE FindResourceHInstance(HINSTANCE definingModule) {
    if (!gRecordSet) return definingModule ? definingModule : GetModuleHandleA(nullptr);
    if (definingModule && definingModule != gRecord.Instance) return definingModule;
    StartupSelection();
    return gRecord.ResourceSource;
}

HINSTANCE LoadLanguageModule(LCID lcid, bool tryEnglish) {
    if (!gRecordSet) return nullptr;
    const std::string path = ModulePath(gRecord.Instance);
    const std::string abbrev = LocaleAbbrev(lcid);
    if (!FindExtensionDot(path) || abbrev.empty()) return nullptr;

    const std::string twoLetter = TwoLetterForm(abbrev);
    constexpr TDiagPhase kPhase = TDiagPhase::Resolution;
    TDataModule module = OpenCandidate(kPhase, path, abbrev);
    if (!module) module = OpenCandidate(kPhase, path, twoLetter);
    // Abbreviations come in capitals, so this runs for English locales too when their own module
    // is missing.
    if (!module && tryEnglish && lstrcmpA(twoLetter.c_str(), kEnglishTwoLetter) != 0)
        module = OpenEnglishModule(path);
    if (!module) {
        const std::string exePath = ModulePath(gRecord.Instance);
        if (!exePath.empty()) module = OpenRecorded(kPhase, exePath, nullptr);
    }
    return InstallOpened(std::move(module));
}

HINSTANCE InstallResourceModule(HINSTANCE module) {
    if (!gRecordSet) return nullptr;
    gInstalledModule.Reset(module == gRecord.Instance ? nullptr : module);
    gInstalledFile.Reset();
    gRecord.ResourceSource = module;
    return module;
}

TUndoableInstall::TUndoableInstall() noexcept
    : previous_(gRecord.ResourceSource), module_(std::move(gInstalledModule)),
      file_(std::move(gInstalledFile)) {}

TUndoableInstall::~TUndoableInstall() {
    if (gRecordSet && gRecord.ResourceSource == previous_) Undo();
}

void TUndoableInstall::Undo() noexcept {
    if (!gRecordSet) return;
    gInstalledModule = std::move(module_);
    gInstalledFile = std::move(file_);
    gRecord.ResourceSource = previous_;
    // Done once: the destructor must not take the restored module back out.
    previous_ = nullptr;
}

std::wstring LoadResStringW(UINT id) {
    wchar_t buffer[kStringBufferSize] = {};
    const int length = LoadStringW(FindResourceHInstance(), id, buffer, kStringBufferSize);
    return length > 0 ? std::wstring(buffer, static_cast<std::size_t>(length)) : std::wstring();
}

std::string LoadResStringA(UINT id) {
    char buffer[kStringBufferSize] = {};
    const int length = LoadStringA(FindResourceHInstance(), id, buffer, kStringBufferSize);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

} // namespace attente
