// Colours as descriptions give them: a fixed RGB value or a system colour named symbolically
// (clBtnFace), resolved when drawing so that a change of system colours shows at the next paint.
#pragma once

#include "PropertyValue.h"

#include <windows.h>

#include <string_view>

namespace attente {

class TColor {
  public:
    static TColor Rgb(COLORREF rgb) { return TColor(false, rgb); }
    static TColor System(int index) { return TColor(true, static_cast<DWORD>(index)); }

    // An identifier (clBtnFace, clWindowText) or an integer 0x00BBGGRR.
    static TColor FromValue(const TValue& value, std::string_view property);

    COLORREF Resolve() const { return system_ ? GetSysColor(static_cast<int>(value_)) : value_; }

  private:
    TColor(bool system, DWORD value) : system_(system), value_(value) {}
    bool system_;
    DWORD value_;
};

} // namespace attente
