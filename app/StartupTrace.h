// For the bench only: in a build made with the CMake option ATTENTE_BENCH_TRACE, when the environment
// names a file in ATTENTE_BENCH_TRACE, the time of each start-up step since the process was created is
// appended to it (microseconds, one line per run); a step costs one counter read. The shipped exe is
// built without it, and there these calls are nothing at all.
#pragma once

namespace attente {

#ifdef ATTENTE_BENCH_TRACE
// `step` must be a literal: it is kept, not copied. Steps beyond the first sixteen are not kept.
void TraceStartupStep(const char* step) noexcept;

// Appends the line, if asked for; called once the window has been painted.
void WriteStartupTrace() noexcept;
#else
inline void TraceStartupStep(const char*) noexcept {}
inline void WriteStartupTrace() noexcept {}
#endif

} // namespace attente
