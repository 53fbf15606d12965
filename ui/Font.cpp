// Fonts: description properties and the GDI font made from them.
#include "Font.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "TextFormat.h"

namespace attente {

namespace {

constexpr int kDefaultHeight = -11;
constexpr wchar_t kDefaultName[] = L"MS Shell Dlg";

struct TCharsetName {
    const char* Name;
    BYTE Value;
};

constexpr TCharsetName kCharsetNames[] = {
    {"default", DEFAULT_CHARSET},
    {"ansi", ANSI_CHARSET},
    {"symbol", SYMBOL_CHARSET},
    {"oem", OEM_CHARSET},
    {"easteurope", EASTEUROPE_CHARSET},
    {"russian", RUSSIAN_CHARSET},
    {"greek", GREEK_CHARSET},
    {"turkish", TURKISH_CHARSET},
    {"baltic", BALTIC_CHARSET},
    {"hebrew", HEBREW_CHARSET},
    {"arabic", ARABIC_CHARSET},
    {"thai", THAI_CHARSET},
    {"vietnamese", VIETNAMESE_CHARSET},
    {"shiftjis", SHIFTJIS_CHARSET},
    {"hangul", HANGUL_CHARSET},
    {"gb2312", GB2312_CHARSET},
    {"chinesebig5", CHINESEBIG5_CHARSET},
};

} // namespace

TFont::TFont()
    : name_(kDefaultName), height_(kDefaultHeight), charset_(DEFAULT_CHARSET),
      color_(TColor::System(COLOR_WINDOWTEXT)) {}

void TFont::SetName(const std::wstring& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    height_ = height;
    Changed();
}

void TFont::SetCharset(BYTE charset) {
    charset_ = charset;
    Changed();
}

void TFont::SetColor(TColor color) {
    color_ = color;
    Changed();
}

void TFont::Changed() {
    handle_.Reset();
    if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = ScaleToScreen(height_);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = charset_;
        lf.lfQuality = DEFAULT_QUALITY;
        // LOGFONT holds 31 characters and the terminator; a longer name is cut, not overrun.
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return static_cast<HFONT>(handle_.Get());
}

bool TFont::SetProperty(std::string_view name, const TValue& value) {
    if (EqualsIgnoringAsciiCase(name, "Name")) {
        SetName(Utf8ToWide(ExpectString(value, "Font.Name")));
    } else if (EqualsIgnoringAsciiCase(name, "Height")) {
        SetHeight(ExpectInteger(value, "Font.Height"));
    } else if (EqualsIgnoringAsciiCase(name, "Charset")) {
        const std::string& id = ExpectIdentifier(value, "Font.Charset");
        for (const TCharsetName& c : kCharsetNames)
            if (EqualsIgnoringAsciiCase(c.Name, id)) {
                SetCharset(c.Value);
                return true;
            }
        RaiseBadValue("Font.Charset", id);
    } else if (EqualsIgnoringAsciiCase(name, "Color")) {
        SetColor(TColor::FromValue(value, "Font.Color"));
    } else {
        return false;
    }
    return true;
}

} // namespace attente
