// The probes' side of their report: one NAME=hex line per value on standard output, which
// RunProbe (ChildProcess.h) reads back; hex keeps any byte of the value intact.
#pragma once

#include <windows.h>

#include <string>

namespace attente::test {

inline void Report(const std::string& name, const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string line = name + "=";
    for (unsigned char c : value) {
        line += kHex[c >> 4];
        line += kHex[c & 0xF];
    }
    line += "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace attente::test
