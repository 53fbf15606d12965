// modcheck: checks language modules before they ship. Usage: modcheck [--code-only] MODULE...
// Prints one line per fault and exits 1 when any module has one, 2 on a usage or file error.
#include "ModuleCheck.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

constexpr int kExitFaults = 1;
constexpr int kExitUsage = 2;

} // namespace

int main(int argc, char** argv) {
    attente::TCheckScope scope = attente::TCheckScope::Complete;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--code-only")
            scope = attente::TCheckScope::CodeOnly;
        else
            files.push_back(arg);
    }
    if (files.empty()) {
        std::cerr << "usage: modcheck [--code-only] MODULE...\n";
        return kExitUsage;
    }
    int status = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << file << ": cannot be read\n";
            return kExitUsage;
        }
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const std::string name = std::filesystem::path(file).filename().string();
        for (const std::string& fault : attente::CheckModule(name, bytes, scope)) {
            std::cerr << fault << '\n';
            status = kExitFaults;
        }
    }
    return status;
}
