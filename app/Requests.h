// The requests an open status window takes (Requests.def), and the values that need reading: a
// request is all or nothing, so its value is checked before anything is sent or changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace attente {

enum class TRequestKind {
#define ATTENTE_REQUEST(name, switchName, code, units, value, atStart, codes) name,
#include "Requests.def"
#undef ATTENTE_REQUEST
};

enum class TRequestValue { Line, Lines, Flag };

struct TRequestInfo {
    TRequestKind Kind;
    const char* Switch;
    std::uintptr_t CopyDataCode; // 0: sent as WM_CLOSE
    std::size_t MaxUnits;
    TRequestValue Value;
    bool AtStart;
};

inline constexpr TRequestInfo kRequests[] = {
#define ATTENTE_REQUEST(name, switchName, code, units, value, atStart, codes)                                \
    {TRequestKind::name, switchName, code, units, TRequestValue::value, atStart},
#include "Requests.def"
#undef ATTENTE_REQUEST
};

// The row of a WM_COPYDATA code, or null.
const TRequestInfo* RequestOfCode(std::uintptr_t code);

// What the progress bar shows: nothing, a moving busy indicator, or Position of Range.
struct TProgress {
    enum TMode { Hidden, Busy, Bar } Mode = Hidden;
    int Position = 0;
    int Range = 0;
    bool operator==(const TProgress&) const = default;
};

// "" (hidden), "BUSY" in any letter case, a percentage "0" to "100", or "n/m" with 0 <= n <= m and
// m >= 1, in decimal digits only; none for anything else.
std::optional<TProgress> ParseProgress(std::string_view text);

// Whether `text` is a value the request takes (length aside, which the window checks in units).
bool RequestValueValid(TRequestKind kind, std::string_view text);

} // namespace attente
