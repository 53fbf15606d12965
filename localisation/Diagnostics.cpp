// The language-decision recorder: fixed-size copies only, texts cut to the buffer.
#include "Diagnostics.h"

namespace attente {

TDiagnostics Diagnostics;

namespace {

void CopyCut(char* into, std::size_t size, const char* text) {
    std::size_t i = 0;
    for (; text != nullptr && text[i] != '\0' && i + 1 < size; ++i)
        into[i] = text[i];
    into[i] = '\0';
}

} // namespace

void TDiagnostics::Candidate(TDiagPhase phase, const char* extension, TDiagOutcome outcome,
                             std::uint32_t error) {
    if (count_ == kMaxCandidates) {
        ++dropped_;
        return;
    }
    TDiagCandidate& candidate = candidates_[count_++];
    candidate.Phase = phase;
    candidate.Outcome = outcome;
    candidate.ExeItself = extension == nullptr;
    candidate.Error = error;
    CopyCut(candidate.Extension, TDiagCandidate::kExtensionSize, extension);
}

void TDiagnostics::StartupOverride(const char* text) {
    CopyCut(startupOverride_, sizeof startupOverride_, text);
}

void TDiagnostics::Decision(TResolveDecision decision, std::uint32_t loadedLcid) {
    decision_ = decision;
    loadedLcid_ = loadedLcid;
}

void TDiagnostics::Clear() {
    *this = TDiagnostics();
}

} // namespace attente
