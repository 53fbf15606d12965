// A font as descriptions give it (Name, Height at 96 dpi, Charset, Color); it owns the GDI font made
// from it and tells its owner when it changes.
#pragma once

#include "Color.h"
#include "Handles.h"
#include "PropertyValue.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace attente {

class TFont {
  public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name);
    // Negative: character height; positive: cell height; both in pixels at 96 dpi.
    int Height() const { return height_; }
    void SetHeight(int height);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The GDI font at the screen's density, made on first use after each change.
    HFONT Handle() const;

    // "Name", "Height", "Charset", "Color".
    bool SetProperty(std::string_view name, const TValue& value);

    // Called after every change; the owner re-applies the font to its window.
    std::function<void()> OnChange;

  private:
    void Changed();

    std::wstring name_;
    int height_;
    BYTE charset_;
    TColor color_;
    mutable TGdiObject handle_;
};

} // namespace attente
