// The module fuzzer: the shipped modules, mutated where a hostile file would strike (headers, section
// table, every level of the resource tree, string blocks, TFORM1), each written to a file and run
// through the program's own path: open, check and map as data, install as the resource source, read
// the six strings, look up TFORM1 and read its description. Passing means no fault, no hang, and every
// accepted module reading back exactly what the portable reader finds in the same bytes (a module
// that disagrees is kept in the working folder).
//   module_fuzzer --seed N (--seconds S | --cases C) [--first K]
#include "DescriptionTree.h"
#include "Exceptions.h"
#include "ModuleContents.h"
#include "ModuleFiles.h"
#include "ModuleLayout.h"
#include "ResourceSource.h"
#include "ResourceStream.h"
#include "TempFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace attente;
using namespace attente::test;

namespace {

constexpr UINT kStrings[] = {kLanguageIdString,       kStatusTextString, kResourceNotFoundString,
                             kAncestorNotFoundString, kErrorTitleString, kExceptionTextString};
constexpr std::size_t kDeliveredUnits = 1023;
constexpr std::uint32_t kRcData = 10;
constexpr int kMaxMutations = 4;
constexpr DWORD kFaultExitCode = 3;
constexpr std::uint64_t kProgressEvery = 5000;

struct TBase {
    std::string Name;
    std::string Bytes;
    TModuleLayout Layout;
};

// For the fault handler: what was running when the process faulted.
std::uint64_t gSeed = 0;
std::uint64_t gCase = 0;
std::string gCasePath;

LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "FAULT 0x%08lX in seed %llu case %llu; the module is kept at %s\n",
                 info->ExceptionRecord->ExceptionCode, static_cast<unsigned long long>(gSeed),
                 static_cast<unsigned long long>(gCase), gCasePath.c_str());
    std::fflush(stderr);
    ExitProcess(kFaultExitCode);
}

class TMutator {
  public:
    TMutator(std::uint64_t seed, std::uint64_t index) : random_(seed * 0x9E3779B97F4A7C15ull + index) {}

    std::size_t Pick(std::size_t count) { return count == 0 ? 0 : random_() % count; }

    std::string Mutate(const TBase& base) {
        std::string bytes = base.Bytes;
        const int count = 1 + static_cast<int>(Pick(kMaxMutations));
        for (int i = 0; i < count; ++i)
            MutateOnce(base.Layout, bytes);
        return bytes;
    }

  private:
    std::uint32_t Value(std::uint32_t old, std::size_t fileSize) {
        static constexpr std::uint32_t kEdges[] = {0,       1,          2,          0x7F,       0x80,
                                                   0xFF,    0x100,      0x7FFF,     0x8000,     0xFFFF,
                                                   0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF0};
        switch (Pick(8)) {
        case 0:
            return kEdges[Pick(std::size(kEdges))];
        case 1:
            return old ^ (1u << Pick(32));
        case 2:
            return old + static_cast<std::uint32_t>(Pick(64)) - 32;
        case 3:
            return old ^ 0x80000000u;
        case 4:
            return static_cast<std::uint32_t>(fileSize + Pick(16)) - 8;
        case 5:
            return old * 2 + 1;
        case 6:
            return old / 2;
        default:
            return static_cast<std::uint32_t>(random_());
        }
    }

    void Field16(std::string& b, std::size_t at) { Put16(b, at, Value(Get32(b, at) & 0xFFFF, b.size())); }
    void Field32(std::string& b, std::size_t at) { Put32(b, at, Value(Get32(b, at), b.size())); }

    template <class T> const T& Any(const std::vector<T>& items) { return items[Pick(items.size())]; }

    void MutateOnce(const TModuleLayout& l, std::string& b) {
        constexpr std::size_t kFileHeader = 4;
        const std::size_t optional = l.OptionalHeader;
        switch (Pick(15)) {
        case 0: { // PE, file and optional header fields
            const std::size_t fields[] = {0x3C,
                                          l.PeHeader,
                                          l.PeHeader + kFileHeader + 2,
                                          l.PeHeader + kFileHeader + 16,
                                          optional,
                                          optional + 56,
                                          optional + 60,
                                          optional + 92,
                                          l.ResourceDirectoryEntry,
                                          l.ResourceDirectoryEntry + 4};
            const std::size_t at = fields[Pick(std::size(fields))];
            if (at == optional || at == fields[2] || at == fields[3])
                Field16(b, at);
            else
                Field32(b, at);
            break;
        }
        case 1: { // the section table
            const std::size_t offsets[] = {kSectionVirtualSizeField, kSectionRvaField,
                                           kSectionRawSizeFieldOffset, kSectionRawPointerFieldOffset, 36};
            Field32(b, Any(l.SectionHeaders) + offsets[Pick(std::size(offsets))]);
            break;
        }
        case 2: // directory counts, named or numbered
            Field16(b, Any(l.Directories) + 12 + 2 * Pick(2));
            break;
        case 3: // entry names and targets (offsets and directory flags)
            Field32(b, Any(l.Entries) + 4 * Pick(2));
            break;
        case 4: { // name strings: length or characters
            const std::size_t name = Any(l.Names);
            Field16(b, name + 2 * Pick(4));
            break;
        }
        case 5: // data entries: RVA or size
            Field32(b, Any(l.Data).Entry + 4 * Pick(2));
            break;
        case 6:
        case 7: { // string blocks: the counts and characters, walked by count
            std::vector<TResourceData> blocks;
            for (const TResourceData& d : l.Data)
                if (d.StringBlock) blocks.push_back(d);
            if (blocks.empty()) break;
            const TResourceData& block = Any(blocks);
            Field16(b, block.Offset + 2 * Pick(block.Size / 2));
            break;
        }
        case 8:
        case 9: { // TFORM1's data
            for (const TResourceData& d : l.Data)
                if (d.Description && d.Size > 0) b[d.Offset + Pick(d.Size)] = static_cast<char>(random_());
            break;
        }
        case 10: // any byte
            if (!b.empty()) b[Pick(b.size())] = static_cast<char>(random_());
            break;
        case 11: { // a resource in two languages, the second reading another resource's data
            static constexpr std::uint32_t kLanguages[] = {0, 0x0407, 0x0409, 0x040C, 0x0809, 0x7FFF, 0xFFFF};
            std::string grown =
                SecondLanguage(b, Pick(64), kLanguages[Pick(std::size(kLanguages))], Pick(64));
            if (!grown.empty()) b = std::move(grown);
            break;
        }
        case 12: { // a zero unit inside a name
            const std::size_t name = Any(l.Names);
            const std::uint32_t length = Get32(b, name) & 0xFFFF;
            if (length > 0) Put16(b, name + 2 + 2 * Pick(length), 0);
            break;
        }
        case 13: { // a string about the length the program reads, or far beyond it
            static constexpr std::size_t kUnits[] = {1022, 1023, 1024, 1025, 2047, 2048, 4096};
            // At the place one of the read strings has in its block.
            const int string = static_cast<int>(kStrings[Pick(std::size(kStrings))] % 16);
            std::string grown = LongString(b, Pick(64), string, kUnits[Pick(std::size(kUnits))]);
            if (!grown.empty()) b = std::move(grown);
            break;
        }
        default: // cut short or grown
            if (Pick(2))
                b.resize(Pick(b.size() + 1));
            else
                b.append(Pick(4096), static_cast<char>(random_()));
            break;
        }
    }

    std::mt19937_64 random_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<TBase> ShippedModules() {
    std::vector<TBase> bases;
    WIN32_FIND_DATAA data{};
    const std::string folder = DistFolder();
    HANDLE find = FindFirstFileA((folder + "\\attente.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return bases;
    do {
        const std::string name = data.cFileName;
        if (name == "attente.exe") continue;
        TBase base{name, ReadFile(folder + "\\" + name), {}};
        if (const auto layout = LayoutOf(base.Bytes)) {
            base.Layout = *layout;
            bases.push_back(std::move(base));
        } else {
            std::fprintf(stderr, "%s is not laid out as a built module\n", name.c_str());
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return bases;
}

// The description as the program's stream reads it, or "unreadable".
template <class TSource> std::string DescriptionOutcome(TSource&& source) {
    try {
        const TDescriptionRecord tree = ReadDescriptionTree(source);
        return "read " + tree.ClassName + " with " + std::to_string(tree.Children.size()) + " children";
    } catch (const Exception&) {
        return "unreadable";
    }
}

struct TTally {
    std::uint64_t Cases = 0;
    std::uint64_t Accepted = 0;
    std::uint64_t Disagreements = 0;
};

void Disagree(TTally& tally, const std::string& what) {
    ++tally.Disagreements;
    std::fprintf(stderr, "DISAGREEMENT in seed %llu case %llu: %s\n", static_cast<unsigned long long>(gSeed),
                 static_cast<unsigned long long>(gCase), what.c_str());
    const std::string kept = "module-fuzz-" + std::to_string(gSeed) + "-" + std::to_string(gCase) + ".mod";
    CopyFileA(gCasePath.c_str(), kept.c_str(), FALSE);
}

// One mutated module through the program's path, compared with the portable reader.
void RunCase(const std::string& bytes, TTally& tally) {
    WriteFile(gCasePath, bytes);
    TDataModule module = OpenModuleAsData(gCasePath);
    ++tally.Cases;
    if (!module) return;
    ++tally.Accepted;
    const auto model =
        TModuleContents::Open(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!model) return Disagree(tally, "the program's check and the portable reader differ");
    const HINSTANCE installed = InstallResourceModule(module.Module.Release());
    for (UINT id : kStrings) {
        const std::wstring read = LoadResStringW(id);
        const std::u16string expected =
            model->String(static_cast<std::uint16_t>(id)).substr(0, kDeliveredUnits);
        if (read.size() != expected.size() ||
            !std::equal(read.begin(), read.end(), expected.begin(),
                        [](wchar_t a, char16_t b) { return static_cast<char16_t>(a) == b; }))
            Disagree(tally, "string " + std::to_string(id));
    }
    const std::unique_ptr<TResourceStream> stream = [&]() -> std::unique_ptr<TResourceStream> {
        try {
            return TResourceStream::Open(installed, "TFORM1");
        } catch (const Exception&) {
            return nullptr;
        }
    }();
    const auto description = model->Resource(kRcData, "TFORM1");
    if (static_cast<bool>(stream) != description.has_value())
        Disagree(tally, "TFORM1 found by one reader only");
    else if (stream && DescriptionOutcome(*stream) != DescriptionOutcome(*description))
        Disagree(tally, "TFORM1 read differently");
    InstallResourceModule(ExeModuleRecord()->Instance);
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t seconds = 0, cases = 0, first = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::uint64_t value = std::strtoull(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--seed") == 0) gSeed = value;
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = value;
        if (std::strcmp(argv[i], "--cases") == 0) cases = value;
        if (std::strcmp(argv[i], "--first") == 0) first = value;
    }
    if (seconds == 0 && cases == 0) {
        std::fprintf(stderr, "usage: module_fuzzer --seed N (--seconds S | --cases C) [--first K]\n");
        return 2;
    }
    const std::vector<TBase> bases = ShippedModules();
    if (bases.empty()) {
        std::fprintf(stderr, "no shipped modules in %s\n", DistFolder().c_str());
        return 2;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportFault);
    InitModuleRecord(GetModuleHandleA(nullptr));
    StartupSelection();

    TTempFolder folder;
    gCasePath = folder.File("case.mod");
    TTally tally;
    const ULONGLONG end = GetTickCount64() + seconds * 1000;
    for (gCase = first; (cases == 0 || gCase < first + cases) && (seconds == 0 || GetTickCount64() < end);
         ++gCase) {
        TMutator mutator(gSeed, gCase);
        const TBase& base = bases[mutator.Pick(bases.size())];
        RunCase(mutator.Mutate(base), tally);
        if (tally.Cases % kProgressEvery == 0)
            std::printf("%llu cases, %llu accepted\n", static_cast<unsigned long long>(tally.Cases),
                        static_cast<unsigned long long>(tally.Accepted));
    }
    ReleaseModuleRecord();
    std::printf("seed %llu: %llu cases (%llu to %llu), %llu accepted, %llu disagreements, no fault\n",
                static_cast<unsigned long long>(gSeed), static_cast<unsigned long long>(tally.Cases),
                static_cast<unsigned long long>(first), static_cast<unsigned long long>(gCase),
                static_cast<unsigned long long>(tally.Accepted),
                static_cast<unsigned long long>(tally.Disagreements));
    return tally.Disagreements == 0 ? 0 : 1;
}
