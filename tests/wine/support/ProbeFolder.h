// A temporary folder holding the start-up probe as setup.exe, and runs of it with raw command lines.
#pragma once

#include "ChildProcess.h"
#include "TempFolder.h"

#include <string>

namespace attente::test {

class TProbeFolder : public TTempFolder {
  public:
    TProbeFolder();

    std::string ExePath() const { return File(kExeName); }
    // Runs setup.exe in probe `mode`; `arguments` follow a quoted argument 0 as written.
    TProbeResult Run(const std::string& mode, const std::string& arguments = "",
                     TChildOptions options = {}) const;
    // A started but not awaited run, for tests that talk to the probe's windows.
    TChildProcess Start(const std::string& mode, const std::string& arguments = "",
                        TChildOptions options = {}) const;
    // Copies dist/<exe base>.<extension> beside the probe as setup.<extension>.
    void CopyModule(const std::string& extension) const;

    static constexpr char kExeName[] = "setup.exe";

  private:
    std::string CommandLine(const std::string& arguments) const;
};

} // namespace attente::test
