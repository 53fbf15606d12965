// The recorder keeps its fixed buffer: candidates past it are counted, long texts are cut, and
// clearing leaves it as at process start.
#include "Diagnostics.h"

#include <gtest/gtest.h>

#include <string>

using namespace attente;

TEST(Diagnostics, CountsCandidatesBeyondItsBufferAndCutsLongTexts) {
    TDiagnostics diagnostics;
    const std::size_t extra = 3;
    for (std::size_t i = 0; i < TDiagnostics::kMaxCandidates + extra; ++i)
        diagnostics.Candidate(TDiagPhase::Resolution, "an-overlong-extension", TDiagOutcome::NotOpened,
                              static_cast<std::uint32_t>(i));
    diagnostics.Candidate(TDiagPhase::Resolution, nullptr, TDiagOutcome::Opened);
    EXPECT_EQ(diagnostics.CandidateCount(), TDiagnostics::kMaxCandidates);
    EXPECT_EQ(diagnostics.Dropped(), extra + 1);
    const TDiagCandidate& last = diagnostics.CandidateAt(TDiagnostics::kMaxCandidates - 1);
    EXPECT_EQ(std::string(last.Extension),
              std::string("an-overlong-extension").substr(0, TDiagCandidate::kExtensionSize - 1));
    EXPECT_EQ(last.Error, TDiagnostics::kMaxCandidates - 1);
    EXPECT_FALSE(last.ExeItself);

    diagnostics.StartupOverride("ENUXXXXXXXXX");
    EXPECT_EQ(std::string(diagnostics.StartupOverrideText()).size(), TDiagCandidate::kExtensionSize - 1);
    diagnostics.Clear();
    EXPECT_EQ(diagnostics.CandidateCount(), 0u);
    EXPECT_EQ(diagnostics.Dropped(), 0u);
    EXPECT_STREQ(diagnostics.StartupOverrideText(), "");
    EXPECT_EQ(diagnostics.Override(), TOverrideSource::NotRead);
}

TEST(Diagnostics, MarksTheExecutableItself) {
    TDiagnostics diagnostics;
    diagnostics.Candidate(TDiagPhase::Startup, "DEU", TDiagOutcome::Absent);
    diagnostics.Candidate(TDiagPhase::Resolution, nullptr, TDiagOutcome::Opened);
    ASSERT_EQ(diagnostics.CandidateCount(), 2u);
    EXPECT_FALSE(diagnostics.CandidateAt(0).ExeItself);
    EXPECT_STREQ(diagnostics.CandidateAt(0).Extension, "DEU");
    EXPECT_TRUE(diagnostics.CandidateAt(1).ExeItself);
    EXPECT_STREQ(diagnostics.CandidateAt(1).Extension, "");
}
