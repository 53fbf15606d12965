// The system colours descriptions may name, and plain RGB values.
#include "Color.h"

#include "AsciiCase.h"

namespace attente {

namespace {

struct TColorName {
    const char* Name;
    int SystemColor;
};

constexpr COLORREF kMaxRgb = 0x00FFFFFF;

constexpr TColorName kColorNames[] = {
    {"clBtnFace", COLOR_BTNFACE},
    {"clWindowText", COLOR_WINDOWTEXT},
};

} // namespace

TColor TColor::FromValue(const TValue& value, std::string_view property) {
    if (value.Type == TValueType::Integer) {
        const auto rgb = static_cast<COLORREF>(value.Integer);
        if (value.Integer < 0 || rgb > kMaxRgb) RaiseBadValue(property, std::to_string(value.Integer));
        return Rgb(rgb);
    }
    const std::string& name = ExpectIdentifier(value, property);
    for (const TColorName& c : kColorNames)
        if (EqualsIgnoringAsciiCase(c.Name, name)) return System(c.SystemColor);
    RaiseBadValue(property, name);
}

} // namespace attente
