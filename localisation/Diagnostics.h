// A recorder of how the language was decided, for the optional diagnostics report. It is fed on every
// start-up, before anyone knows whether a report is wanted (the start-up selection runs before the
// command line is read), so recording costs a few byte copies into a fixed buffer: no allocation,
// no text built. The report re-derives whatever else it shows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace attente {

enum class TDiagPhase : std::uint8_t { Startup, Resolution };

enum class TDiagOutcome : std::uint8_t {
    Opened,
    NotOpened, // the file did not open for reading; Error holds the platform's code
    Absent,    // the English search found no file of that name (or found a directory)
    NotSound,  // it opened, but is not a sound module (truncated, damaged, too large)
    NotMapped, // sound, but the platform refused to map it as data
};

// Where the per-executable registry entry that language resolution used came from.
enum class TOverrideSource : std::uint8_t {
    NotRead,
    None,
    PerUser,
    PerMachineCopied,    // copied to the per-user key as well
    PerMachineNoUserKey, // the per-user key could not be opened or created: nothing was written
    CopyRefused,         // the copy was refused, so the entry was not used
    NotText,             // a value of another type than text: ignored
};

enum class TRequestSource : std::uint8_t { None, CommandLine, SettingsFile };

enum class TResolveDecision : std::uint8_t {
    NotRun,
    RegistryKept,  // a registry entry and no request: the start-up choice stays
    AlreadySpoken, // the resources in use already speak the language or a variant of it
    Loaded,        // a module was looked for and installed
};

struct TDiagCandidate {
    static constexpr std::size_t kExtensionSize = 8;
    TDiagPhase Phase = TDiagPhase::Startup;
    TDiagOutcome Outcome = TDiagOutcome::Opened;
    bool ExeItself = false; // the executable opened as data, not a candidate name
    std::uint32_t Error = 0;
    char Extension[kExtensionSize] = {};
};

class TDiagnostics {
  public:
    static constexpr std::size_t kMaxCandidates = 16;

    // `extension` is what replaced the executable's own; null for the executable itself.
    void Candidate(TDiagPhase phase, const char* extension, TDiagOutcome outcome, std::uint32_t error = 0);
    void StartupOverride(const char* text);
    void Override(TOverrideSource source) { override_ = source; }
    void Request(TRequestSource source) { request_ = source; }
    void Decision(TResolveDecision decision, std::uint32_t loadedLcid = 0);
    void Clear();

    std::size_t CandidateCount() const { return count_; }
    const TDiagCandidate& CandidateAt(std::size_t index) const { return candidates_[index]; }
    // Candidates beyond the buffer are counted, not kept.
    std::size_t Dropped() const { return dropped_; }
    const char* StartupOverrideText() const { return startupOverride_; }
    TOverrideSource Override() const { return override_; }
    TRequestSource Request() const { return request_; }
    TResolveDecision Decision() const { return decision_; }
    std::uint32_t LoadedLcid() const { return loadedLcid_; }

  private:
    TDiagCandidate candidates_[kMaxCandidates] = {};
    std::size_t count_ = 0;
    std::size_t dropped_ = 0;
    char startupOverride_[TDiagCandidate::kExtensionSize] = {};
    TOverrideSource override_ = TOverrideSource::NotRead;
    TRequestSource request_ = TRequestSource::None;
    TResolveDecision decision_ = TResolveDecision::NotRun;
    std::uint32_t loadedLcid_ = 0;
};

// The process's recorder: constant-initialised, so it is usable before any start-up step runs.
extern TDiagnostics Diagnostics;

} // namespace attente
