// The report is put together only when asked for, after language resolution: from the recorder's
// events, the process-wide language values and what the platform says now (locales, the folder's
// files). Paths are UTF-8 inside the program; the logic texts are ANSI and converted to UTF-8 here.
#include "DiagnosticsReport.h"

#include "AnsiText.h"
#include "CommandLine.h"
#include "Diagnostics.h"
#include "Handles.h"
#include "LanguageValues.h"
#include "ModuleFiles.h"
#include "ModulePath.h"
#include "ResourceSource.h"
#include "SettingsFile.h"
#include "SwitchNames.h"
#include "TextFormat.h"
#include "Version.h"

#include <windows.h>

#include <optional>

namespace attente {

namespace {

constexpr int kHexDigits = 4;
constexpr int kHexRadix = 16;

std::string Hex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (; value != 0 || out.size() < kHexDigits; value /= kHexRadix)
        out.insert(out.begin(), kDigits[value % kHexRadix]);
    return Concat({"0x", out});
}

std::string Locale(LCID lcid) {
    const std::string abbrev = LocaleAbbrev(lcid);
    return Concat({Hex(lcid), " ", abbrev.empty() ? "(no abbreviation)" : abbrev});
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string OutcomeText(const TDiagCandidate& candidate, const std::string& path) {
    switch (candidate.Outcome) {
    case TDiagOutcome::Opened:
        return "opened";
    case TDiagOutcome::Absent:
        return IsDirectory(path) ? "directory" : "missing";
    case TDiagOutcome::NotOpened:
        if (IsDirectory(path)) return "directory";
        if (candidate.Error == ERROR_FILE_NOT_FOUND || candidate.Error == ERROR_PATH_NOT_FOUND)
            return "missing";
        return Concat({"did not open (error ", std::to_string(candidate.Error), ")"});
    case TDiagOutcome::NotSound:
        return "not a sound module";
    case TDiagOutcome::NotMapped:
        return Concat({"not a sound module (not mapped, error ", std::to_string(candidate.Error), ")"});
    }
    return "?";
}

std::string CandidatePath(const TDiagCandidate& candidate, const std::string& exePath) {
    if (candidate.ExeItself) return exePath;
    const std::string extension = AnsiToUtf8(candidate.Extension);
    return ModuleCandidate(exePath, extension).value_or(Concat({"?.", extension}));
}

std::string RequestText() {
    switch (Diagnostics.Request()) {
    case TRequestSource::CommandLine:
        return Concat(
            {"command line, ", kLanguageSwitch, "=", AnsiToUtf8(Switches.RawValue(kLanguageSwitch))});
    case TRequestSource::SettingsFile:
        return Concat({"settings file ", SettingsFilePath()});
    case TRequestSource::None:
        break;
    }
    return "none (automatic)";
}

std::string OverrideText() {
    const std::string entry = AnsiToUtf8(ModuleLocale);
    switch (Diagnostics.Override()) {
    case TOverrideSource::NotRead:
        return "not read";
    case TOverrideSource::None:
        return "none";
    case TOverrideSource::PerUser:
        return Concat({entry, ", per-user entry (HKEY_CURRENT_USER)"});
    case TOverrideSource::PerMachineCopied:
        return Concat({entry, ", per-machine entry (HKEY_LOCAL_MACHINE), copied to the per-user key"});
    case TOverrideSource::PerMachineNoUserKey:
        return Concat(
            {entry, ", per-machine entry (HKEY_LOCAL_MACHINE), per-user key unavailable, not copied"});
    case TOverrideSource::CopyRefused:
        return "none: the per-machine entry could not be copied to the per-user key";
    case TOverrideSource::NotText:
        return "none: the entry is not a text value";
    }
    return "?";
}

std::string DecisionText() {
    switch (Diagnostics.Decision()) {
    case TResolveDecision::NotRun:
        return "language resolution did not run";
    case TResolveDecision::RegistryKept:
        return "registry entry and no request: the start-up choice stays";
    case TResolveDecision::AlreadySpoken:
        return Concat({"the resources in use already speak ", AnsiToUtf8(RequestedLanguage)});
    case TResolveDecision::Loaded:
        return Concat({"module looked for with locale ", Locale(Diagnostics.LoadedLcid())});
    }
    return "?";
}

std::string InstalledText(const std::string& exePath) {
    const TModuleRecord* record = ExeModuleRecord();
    if (record == nullptr || record->ResourceSource == nullptr) return "none";
    if (record->ResourceSource == record->Instance) return "the executable's own resources";
    // The installed module is the one opened last: every opening is followed by its installing.
    for (std::size_t i = Diagnostics.CandidateCount(); i-- > 0;) {
        const TDiagCandidate& candidate = Diagnostics.CandidateAt(i);
        if (candidate.Outcome != TDiagOutcome::Opened) continue;
        if (candidate.ExeItself)
            return Concat({exePath, " (the executable opened as data: its own resources)"});
        return CandidatePath(candidate, exePath);
    }
    return "?";
}

} // namespace

std::string DiagnosticsReportText() {
    const std::string exePath = ModulePath(nullptr);
    std::string out = "Attente language report\r\n";
    const auto line = [&out](std::string_view label, std::string_view value) {
        out += Concat({label, ": ", value, "\r\n"});
    };
    line("Executable", exePath);
    line("Version", ATTENTE_VERSION_TEXT);
    line("Language request", RequestText());
    line("Registry entry", OverrideText());
    line("Start-up registry override",
         *Diagnostics.StartupOverrideText() != '\0' ? AnsiToUtf8(Diagnostics.StartupOverrideText()) : "none");
    line("System default locale", Locale(GetSystemDefaultLCID()));
    line("Thread locale", Locale(GetThreadLocale()));
    line("AutoLanguage", AutoLanguage ? "yes" : "no");
    line("RequestedLanguage", AnsiToUtf8(RequestedLanguage));
    line("RequestedLcid", Hex(RequestedLcid));
    line("Decision", DecisionText());
    out += "Modules tried:\r\n";
    for (std::size_t i = 0; i < Diagnostics.CandidateCount(); ++i) {
        const TDiagCandidate& candidate = Diagnostics.CandidateAt(i);
        const std::string path = CandidatePath(candidate, exePath);
        out += Concat({candidate.Phase == TDiagPhase::Startup ? "  start-up: " : "  resolution: ", path, ": ",
                       OutcomeText(candidate, path), "\r\n"});
    }
    if (Diagnostics.Dropped() != 0)
        out += Concat({"  (", std::to_string(Diagnostics.Dropped()), " more not recorded)\r\n"});
    line("Module installed", InstalledText(exePath));
    line("CurrentLanguage", AnsiToUtf8(CurrentLanguage));
    return out;
}

bool WriteDiagnosticsReport(const std::string& path) noexcept {
    try {
        const std::string text = DiagnosticsReportText();
        TFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file) return false;
        DWORD written = 0;
        return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    } catch (...) {
        return false;
    }
}

} // namespace attente
