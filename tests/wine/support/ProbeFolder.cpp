// The probe's folder; the probe's own path comes from the build as a Unix path.
#include "ProbeFolder.h"

#include <gtest/gtest.h>

namespace attente::test {

namespace {

TChildOptions WithMode(TChildOptions options, const std::string& mode) {
    options.Environment.emplace_back("ATTENTE_PROBE", mode);
    return options;
}

} // namespace

TProbeFolder::TProbeFolder(TProbe probe) {
    Copy(WindowsForm(probe == TProbe::Entry ? ATTENTE_ENTRY_PROBE : ATTENTE_STARTUP_PROBE), kExeName);
}

std::string TProbeFolder::CommandLine(const std::string& arguments) const {
    return "\"" + ExePath() + "\"" + (arguments.empty() ? "" : " " + arguments);
}

TProbeResult TProbeFolder::Run(const std::string& mode, const std::string& arguments,
                               TChildOptions options) const {
    return RunProbe(ExePath(), CommandLine(arguments), WithMode(std::move(options), mode));
}

TChildProcess TProbeFolder::Start(const std::string& mode, const std::string& arguments,
                                  TChildOptions options) const {
    return TChildProcess(ExePath(), CommandLine(arguments), WithMode(std::move(options), mode));
}

void TProbeFolder::CopyModule(const std::string& extension) const {
    Copy(DistFolder() + "\\" + ATTENTE_EXE_BASE "." + extension, "setup." + extension);
}

void TProbeFolder::CopySparseModule() const {
    Copy(WindowsForm(ATTENTE_SPARSE_MODULE), "setup.ITA");
}

} // namespace attente::test
