// Error-box texts, filled only through FormatTemplate since templates come from language modules.
#include "FailureText.h"

#include "TextFormat.h"

namespace attente {

namespace {

constexpr wchar_t kFullStop = L'.';
// Language-neutral, for a resource source that lacks the text: every item on its own line.
constexpr wchar_t kNeutralStartupTemplate[] = L"%s\r\n%s\r\n%p\r\n%s%s\r\n";

} // namespace

std::wstring LoopFailureText(const std::wstring& message) {
    if (!message.empty() && message.back() > kFullStop) return message + kFullStop;
    return message;
}

std::wstring FormatCodeAddress(std::uintptr_t address) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    constexpr unsigned kBitsPerDigit = 4;
    constexpr std::uintptr_t kDigitMask = 0xF;
    constexpr std::size_t kShortDigits = 8;
    constexpr std::size_t kLongDigits = 2 * sizeof(std::uintptr_t);
    std::size_t digits = kShortDigits;
    if (kLongDigits > kShortDigits && (address >> (kBitsPerDigit * (kShortDigits - 1)) >> kBitsPerDigit) != 0)
        digits = kLongDigits;
    std::wstring out(digits, L'0');
    for (std::size_t i = digits; i-- > 0; address >>= kBitsPerDigit)
        out[i] = kDigits[address & kDigitMask];
    return out;
}

std::wstring StartupFailureText(const std::wstring& templ, const TStartupFailure& failure) {
    const bool needsStop = !failure.Message.empty() && failure.Message.back() != kFullStop;
    return FormatTemplate(templ.empty() ? kNeutralStartupTemplate : templ,
                          {{L's', failure.Kind},
                           {L's', failure.Module},
                           {L'p', failure.Address},
                           {L's', failure.Message},
                           {L's', needsStop ? std::wstring(1, kFullStop) : std::wstring()}});
}

} // namespace attente
