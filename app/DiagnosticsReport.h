// The diagnostics report (/DIAG=<file>): a short UTF-8 text of how the language was decided, for
// installer authors who wonder why a window speaks the language it does. Off unless asked for.
#pragma once

#include <string>

namespace attente {

// The report of the decision just made by the settings step (UTF-8, one item per line).
std::string DiagnosticsReportText();

// Writes the report to `path` (as given on the command line). Never raises: false when the file
// cannot be written, and nothing else changes either way.
bool WriteDiagnosticsReport(const std::string& path) noexcept;

} // namespace attente
