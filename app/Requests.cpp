// Reading request values, shared by the relay (before it sends) and the window (before it changes).
#include "Requests.h"

#include "AsciiCase.h"

namespace attente {

namespace {

constexpr int kPercentRange = 100;
// Nine digits always fit an int, the progress control's range.
constexpr std::size_t kMaxDigits = 9;

std::optional<int> ReadCount(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

const TRequestInfo* RequestOfCode(std::uintptr_t code) {
    for (const TRequestInfo& request : kRequests)
        if (code != 0 && request.CopyDataCode == code) return &request;
    return nullptr;
}

std::optional<TProgress> ParseProgress(std::string_view text) {
    if (text.empty()) return TProgress{};
    if (EqualsIgnoringAsciiCase(text, "BUSY")) return TProgress{TProgress::Busy, 0, 0};
    const std::size_t slash = text.find('/');
    const std::optional<int> position = ReadCount(text.substr(0, slash));
    if (slash == std::string_view::npos) {
        if (!position || *position > kPercentRange) return std::nullopt;
        return TProgress{TProgress::Bar, *position, kPercentRange};
    }
    const std::optional<int> range = ReadCount(text.substr(slash + 1));
    if (!position || !range || *range < 1 || *position > *range) return std::nullopt;
    return TProgress{TProgress::Bar, *position, *range};
}

bool RequestValueValid(TRequestKind kind, std::string_view text) {
    return kind != TRequestKind::Progress || ParseProgress(text).has_value();
}

} // namespace attente
