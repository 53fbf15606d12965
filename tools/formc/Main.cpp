// formc: compiles a .form description source into the binary stream that goes into an RCDATA
// resource, and on request a C header of its layout. Usage: formc SOURCE -o OUTPUT [-d DEPFILE] [-h HEADER]
#include "DescriptionTree.h"
#include "FormSource.h"
#include "LayoutHeader.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw attente::Exception("impossible d'ouvrir " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const fs::path& path, const std::string& bytes) {
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw attente::Exception("impossible d'écrire " + temporary.string());
    }
    // A failed build must not leave a half-written stream that looks up to date.
    fs::rename(temporary, path);
}

// Left alone when it already holds `bytes`, so that an edit that keeps the layout (a font) does not
// rebuild everything that includes the header.
void WriteIfChanged(const fs::path& path, const std::string& bytes) {
    std::error_code absent;
    if (fs::exists(path, absent)) {
        const std::vector<std::uint8_t> old = ReadWholeFile(path);
        if (std::string(old.begin(), old.end()) == bytes) return;
    }
    WriteWholeFile(path, bytes);
}

// Make-style dependency line; spaces in paths are escaped as make and Ninja expect.
std::string DepfileEscaped(const std::string& path) {
    std::string out;
    for (const char c : path) {
        if (c == ' ' || c == '#') out += '\\';
        out += c;
    }
    return out;
}

int Usage() {
    std::cerr << "usage: formc SOURCE -o OUTPUT [-d DEPFILE] [-h HEADER]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string source, output, depfile, header;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-o" || arg == "-d" || arg == "-h") && i + 1 < argc) {
            (arg == "-o" ? output : arg == "-d" ? depfile : header) = argv[++i];
        } else if (source.empty() && !arg.empty() && arg[0] != '-') {
            source = arg;
        } else {
            return Usage();
        }
    }
    if (source.empty() || output.empty()) return Usage();

    try {
        const std::vector<std::uint8_t> text = ReadWholeFile(source);
        std::vector<std::string> dependencies{source};
        // Files named by the source and by the descriptions it is based on, each found from the
        // folder of the source naming it.
        const attente::TFileLoader loader = [&](const std::string& path) {
            dependencies.push_back(path);
            return ReadWholeFile(path);
        };
        const attente::TDescriptionRecord root =
            attente::ParseFormSource(std::string(text.begin(), text.end()), source, loader);
        const std::vector<std::uint8_t> stream = attente::WriteDescription(root);
        // What we ship must be what the program reads: read it back with the program's reader.
        if (attente::ReadDescriptionTree(stream) != root)
            throw attente::Exception("le flux écrit ne se relit pas à l'identique");
        WriteWholeFile(output, std::string(stream.begin(), stream.end()));
        if (!header.empty())
            WriteIfChanged(header, attente::LayoutHeader(root, fs::path(source).filename().string()));

        if (!depfile.empty()) {
            std::ostringstream deps;
            deps << DepfileEscaped(output) << ":";
            for (const std::string& dependency : dependencies)
                deps << " " << DepfileEscaped(dependency);
            deps << "\n";
            WriteWholeFile(depfile, deps.str());
        }
    } catch (const std::exception& e) {
        std::cerr << "formc: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
