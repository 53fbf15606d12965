// The probe: reports which file serves the resources after start-up and after each switch.
#include "ModuleProbe.h"

#include "ResourceSource.h"
#include "TextFormat.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace attente::test {

namespace {

constexpr int kMappedNameSize = 1024;
constexpr int kStepArgs = 3;
// Data-file module handles carry flags in their low bits; the view starts at the rounded address.
constexpr ULONG_PTR kModuleFlagBits = 3;

void* ViewOf(HINSTANCE module) {
    return reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(module) & ~kModuleFlagBits);
}

// "instance" for the executable's own image, else the file name of the mapped module.
std::string SourceName(HINSTANCE source) {
    const TModuleRecord* record = ExeModuleRecord();
    if (record == nullptr || source == nullptr) return "none";
    if (source == record->Instance) return "instance";
    wchar_t name[kMappedNameSize] = {};
    if (GetMappedFileNameW(GetCurrentProcess(), ViewOf(source), name, kMappedNameSize) == 0)
        return kUnnamedModule;
    const wchar_t* slash = std::wcsrchr(name, L'\\');
    return WideToUtf8(slash ? slash + 1 : name);
}

bool IsMapped(HINSTANCE module) {
    MEMORY_BASIC_INFORMATION info{};
    // Committed pages are the mapping: Wine keeps the address range of a released image-resource view
    // reserved, so MEM_RESERVE there is no leak.
    return VirtualQuery(ViewOf(module), &info, sizeof info) != 0 && info.State == MEM_COMMIT;
}

// One line per value: line breaks and backslashes inside values are written as \r, \n and \\.
void Line(std::string& report, const std::string& key, const std::string& value) {
    report += key + "=";
    for (char c : value) {
        if (c == '\r')
            report += "\\r";
        else if (c == '\n')
            report += "\\n";
        else if (c == '\\')
            report += "\\\\";
        else
            report += c;
    }
    report += "\n";
}

} // namespace

int RunModuleProbe(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string report;
    InitModuleRecord(GetModuleHandleA(nullptr));
    StartupSelection();
    Line(report, "startup.source", SourceName(ExeModuleRecord()->ResourceSource));
    Line(report, "startup.id", LoadResStringA(kLanguageIdString));
    Line(report, "startup.status", WideToUtf8(LoadResStringW(kStatusTextString)));

    int step = 0;
    for (int i = 3; i + kStepArgs <= argc; i += kStepArgs) {
        if (std::strcmp(argv[i], "load") != 0) return 2;
        const LCID lcid = std::strtoul(argv[i + 1], nullptr, 16);
        const bool tryEnglish = std::strcmp(argv[i + 2], "1") == 0;
        const HINSTANCE previous = ExeModuleRecord()->ResourceSource;
        const HINSTANCE returned = LoadLanguageModule(lcid, tryEnglish);
        const HINSTANCE source = ExeModuleRecord()->ResourceSource;
        const std::string key = "step" + std::to_string(++step);
        Line(report, key + ".source", SourceName(source));
        Line(report, key + ".id", LoadResStringA(kLanguageIdString));
        Line(report, key + ".status", WideToUtf8(LoadResStringW(kStatusTextString)));
        Line(report, key + ".returned",
             returned == nullptr  ? "null"
             : returned == source ? "source"
                                  : "other");
        std::string fate = "instance";
        if (previous != ExeModuleRecord()->Instance)
            fate = previous != source && !IsMapped(previous) ? "released" : "kept";
        Line(report, key + ".previous", fate);
    }
    ReleaseModuleRecord();

    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return 3;
    std::fwrite(report.data(), 1, report.size(), out);
    std::fclose(out);
    return 0;
}

} // namespace attente::test
