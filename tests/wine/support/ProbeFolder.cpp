// The probe's folder; the probe's own path comes from the build as a Unix path.
#include "ProbeFolder.h"

#include <gtest/gtest.h>

namespace attente::test {

namespace {

constexpr std::size_t kShortNameLength = 2;

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
    // Languages whose variants share their texts ship under the first two letters (DE serves DEU).
    const std::string shipped = DistFolder() + "\\" + ATTENTE_EXE_BASE "." + extension;
    const DWORD attributes = GetFileAttributesA(shipped.c_str());
    const std::string source =
        attributes != INVALID_FILE_ATTRIBUTES
            ? shipped
            : DistFolder() + "\\" + ATTENTE_EXE_BASE "." + extension.substr(0, kShortNameLength);
    Copy(source, "setup." + extension);
}

void TProbeFolder::CopySparseModule() const {
    Copy(WindowsForm(ATTENTE_SPARSE_MODULE), "setup.ITA");
}

} // namespace attente::test
