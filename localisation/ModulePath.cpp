// Candidate names for language modules; pure string work on UTF-8 paths.
#include "ModulePath.h"

namespace attente {

namespace {
constexpr std::size_t kTwoLetterLength = 2;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;
constexpr unsigned char kFourByteLead = 0xF0;
} // namespace

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & kContinuationMask) != kContinuation) ++units;
        if (byte >= kFourByteLead) ++units;
    }
    return units;
}

std::optional<std::size_t> FindExtensionDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    return dot;
}

std::optional<std::string> ModuleCandidate(std::string_view path, std::string_view extension) {
    const std::optional<std::size_t> dot = FindExtensionDot(path);
    if (!dot || extension.empty()) return std::nullopt;
    const std::string_view stem = path.substr(0, *dot + 1);
    if (Utf16Length(stem) + Utf16Length(extension) >= kPathBufferSize) return std::nullopt;
    std::string candidate(stem);
    candidate.append(extension);
    return candidate;
}

std::string TwoLetterForm(std::string_view abbrev) {
    return std::string(abbrev.substr(0, kTwoLetterLength));
}

} // namespace attente
