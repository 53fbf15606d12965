// A temporary folder holding one of the probes as setup.exe, and runs of it with raw command lines.
#pragma once

#include "ChildProcess.h"
#include "TempFolder.h"

#include <string>

namespace attente::test {

// The start-up probe runs single steps (ATTENTE_PROBE names which); the entry probe is the real entry
// and start-up order with a main-window factory of the tests' own (ATTENTE_PROBE: "none" or "missing").
enum class TProbe { Startup, Entry };

class TProbeFolder : public TTempFolder {
  public:
    explicit TProbeFolder(TProbe probe = TProbe::Startup);

    std::string ExePath() const { return File(kExeName); }
    // Runs setup.exe in probe `mode`; `arguments` follow a quoted argument 0 as written.
    TProbeResult Run(const std::string& mode, const std::string& arguments = "",
                     TChildOptions options = {}) const;
    // A started but not awaited run, for tests that talk to the probe's windows.
    TChildProcess Start(const std::string& mode, const std::string& arguments = "",
                        TChildOptions options = {}) const;
    // Copies dist/<exe base>.<extension> beside the probe as setup.<extension>.
    void CopyModule(const std::string& extension) const;
    // The module that names its language (ITA) and holds nothing else, as setup.ITA.
    void CopySparseModule() const;

    static constexpr char kExeName[] = "setup.exe";

  private:
    std::string CommandLine(const std::string& arguments) const;
};

} // namespace attente::test
