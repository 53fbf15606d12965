// The symbolic colour names descriptions may use.
#include "Color.h"

namespace attente {

namespace {

struct TColorName {
    const char* Name;
    bool System;
    DWORD Value; // a COLOR_* index or an RGB value
};

constexpr COLORREF kMaxRgb = 0x00FFFFFF;

constexpr TColorName kColorNames[] = {
    {"clBtnFace", true, COLOR_BTNFACE},
    {"clBtnText", true, COLOR_BTNTEXT},
    {"clBtnShadow", true, COLOR_BTNSHADOW},
    {"clBtnHighlight", true, COLOR_BTNHIGHLIGHT},
    {"clWindow", true, COLOR_WINDOW},
    {"clWindowText", true, COLOR_WINDOWTEXT},
    {"clWindowFrame", true, COLOR_WINDOWFRAME},
    {"clHighlight", true, COLOR_HIGHLIGHT},
    {"clHighlightText", true, COLOR_HIGHLIGHTTEXT},
    {"clGrayText", true, COLOR_GRAYTEXT},
    {"clInfoBk", true, COLOR_INFOBK},
    {"clInfoText", true, COLOR_INFOTEXT},
    {"clMenu", true, COLOR_MENU},
    {"clMenuText", true, COLOR_MENUTEXT},
    {"clBlack", false, RGB(0, 0, 0)},
    {"clWhite", false, RGB(255, 255, 255)},
    {"clGray", false, RGB(128, 128, 128)},
    {"clSilver", false, RGB(192, 192, 192)},
    {"clRed", false, RGB(255, 0, 0)},
    {"clGreen", false, RGB(0, 128, 0)},
    {"clBlue", false, RGB(0, 0, 255)},
    {"clNavy", false, RGB(0, 0, 128)},
    {"clYellow", false, RGB(255, 255, 0)},
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
        if (SameName(c.Name, name)) return c.System ? System(static_cast<int>(c.Value)) : Rgb(c.Value);
    RaiseBadValue(property, name);
}

} // namespace attente
