// For the bench: when the environment names a file in ATTENTE_BENCH_TRACE, the time of each start-up
// step since the process was created is appended to it (microseconds, one line per run). Without it,
// a step costs one counter read and nothing is written.
#pragma once

namespace attente {

// `step` must be a literal: it is kept, not copied. Steps beyond the first sixteen are not kept.
void TraceStartupStep(const char* step) noexcept;

// Appends the line, if asked for; called once the window has been painted.
void WriteStartupTrace() noexcept;

} // namespace attente
