// Text labels.
#include "Label.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "Form.h"
#include "TextFormat.h"
#include "UiHandles.h"

#include <vector>

namespace attente {

namespace {

// What a new label measures before it has a text (pixels at 96 dpi).
constexpr int kDefaultWidth = 65;
constexpr int kDefaultHeight = 17;

// A letter the label's font lacks is drawn, with the rest of the caption, in a face of its script:
// the faces the modules of those scripts name, in the base set of every supported Windows. An
// installer's words may be in any script whatever the module in use. Kana come before Han, so that
// Japanese text reads in a Japanese face.
struct TScriptFace {
    wchar_t First;
    wchar_t Last;
    BYTE Charset;
    const wchar_t* Face;
};
constexpr TScriptFace kScriptFaces[] = {
    {0x3040, 0x30FF, SHIFTJIS_CHARSET, L"MS UI Gothic"}, {0x1100, 0x11FF, HANGUL_CHARSET, L"Malgun Gothic"},
    {0x3130, 0x318F, HANGUL_CHARSET, L"Malgun Gothic"},  {0xAC00, 0xD7AF, HANGUL_CHARSET, L"Malgun Gothic"},
    {0x3400, 0x9FFF, GB2312_CHARSET, L"SimSun"},          {0x0E00, 0x0E7F, THAI_CHARSET, L"Tahoma"},
    {0x0600, 0x06FF, ARABIC_CHARSET, L"Tahoma"},          {0x0590, 0x05FF, HEBREW_CHARSET, L"Tahoma"},
};
// What GGI_MARK_NONEXISTING_GLYPHS gives a letter the font lacks.
constexpr WORD kMissingGlyph = 0xFFFF;

bool InScript(wchar_t c, const TScriptFace& script) {
    return c >= script.First && c <= script.Last;
}

// The face for the first script (in the table's order) of a letter of `text` that `font` lacks.
HFONT ScriptFallback(HFONT font, int height, const std::wstring& text) {
    // Most texts have no letter of these scripts: they ask the font nothing.
    bool anyInScripts = false;
    for (const wchar_t c : text)
        for (const TScriptFace& script : kScriptFaces)
            anyInScripts = anyInScripts || InScript(c, script);
    if (!anyInScripts) return nullptr;
    const TScreenDc screen;
    if (!screen.Dc()) return nullptr;
    std::vector<WORD> glyphs(text.size());
    {
        const TSelectScope selected(screen.Dc(), font);
        if (GetGlyphIndicesW(screen.Dc(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
            return nullptr;
    }
    for (const TScriptFace& script : kScriptFaces)
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (glyphs[i] != kMissingGlyph || !InScript(text[i], script)) continue;
            LOGFONTW lf{};
            lf.lfHeight = height;
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = script.Charset;
            lstrcpynW(lf.lfFaceName, script.Face, LF_FACESIZE);
            return CreateFontIndirectW(&lf);
        }
    return nullptr;
}

// The one value a label accepts for a property that descriptions list for the record's sake.
void ExpectBooleanOnly(const TValue& value, std::string_view property, bool accepted) {
    if (ExpectBoolean(value, property) != accepted) RaiseBadValue(property, accepted ? "false" : "true");
}

} // namespace

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
    font_.OnChange = [this] { Changed(); };
}

bool TLabel::RightToLeft() const {
    const auto* form = static_cast<const TForm*>(Parent());
    return form && form->BiDiMode() == TBiDiMode::RightToLeft;
}

void TLabel::CreateHandle() {
    TControl::CreateHandle();
    if (!window_) return;
    // The window is still hidden: setting its text draws nothing.
    SetWindowTextW(window_, caption_.c_str());
    windowText_ = caption_;
    ApplyReadingOrder();
}

void TLabel::ApplyReadingOrder() {
    if (!window_) return;
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    style = RightToLeft() ? (style | WS_EX_RTLREADING) : (style & ~static_cast<LONG_PTR>(WS_EX_RTLREADING));
    SetWindowLongPtrW(window_, GWL_EXSTYLE, style);
}

void TLabel::ParentBiDiModeChanged() {
    ApplyReadingOrder();
    Changed();
}

void TLabel::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    Changed();
}

HFONT TLabel::DrawFont() const {
    if (!fallbackKnown_) {
        fallback_.Reset(ScriptFallback(font_.Handle(), ScaleToScreen(font_.Height()), caption_));
        fallbackKnown_ = true;
    }
    return fallback_ ? static_cast<HFONT>(fallback_.Get()) : font_.Handle();
}

void TLabel::Changed() {
    fallbackKnown_ = false;
    if (Loading()) return;
    // The static control's own WM_SETTEXT would draw the new text at once, over the old one and
    // before the rest of the change: the default handling stores the text (and tells accessibility
    // tools) only.
    if (window_ && caption_ != windowText_) {
        DefWindowProcW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
        windowText_ = caption_;
        // Once per change, for the text's own object: what a screen reader announces.
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
    }
    AdjustSize();
    InvalidateWithParent();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    const bool rightToLeft = RightToLeft();
    if (rightToLeft) flags |= DT_RTLREADING;
    if (centred_)
        flags |= DT_CENTER;
    else
        flags |= rightToLeft ? DT_RIGHT : DT_LEFT;
    return flags;
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    const TScreenDc screen;
    if (!screen.Dc()) return;
    const TSelectScope font(screen.Dc(), DrawFont());
    RECT r{0, 0, wordWrap_ ? ScaleToScreen(Width()) : 0, 0};
    // An empty caption measures as one line, so the label keeps a usable height.
    const std::wstring text = caption_.empty() ? L" " : caption_;
    DrawTextW(screen.Dc(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SetBounds(Left(), Top(), wordWrap_ ? Width() : ScaleToDesign(r.right - r.left),
              ScaleToDesign(r.bottom - r.top));
}

void TLabel::PaintTo(HDC dc) {
    RECT r{0, 0, ScaleToScreen(Width()), ScaleToScreen(Height())};
    const TSelectScope selected(dc, DrawFont());
    SetTextColor(dc, font_.Color().Resolve());
    SetBkMode(dc, TRANSPARENT);
    // Whole lines only: a line that would be cut at the bottom is left out, and the last one shown
    // ends with an ellipsis when text is left out.
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DrawFlags() | DT_EDITCONTROL | DT_END_ELLIPSIS);
}

bool TLabel::SetProperty(std::string_view name, const TValue& value) {
    std::string_view head, rest;
    SplitPropertyName(name, head, rest);
    if (!rest.empty()) return EqualsIgnoringAsciiCase(head, "Font") && font_.SetProperty(rest, value);
    if (EqualsIgnoringAsciiCase(name, "Caption")) {
        SetCaption(Utf8ToWide(ExpectString(value, "Caption")));
    } else if (EqualsIgnoringAsciiCase(name, "Alignment")) {
        const std::string& id = ExpectIdentifier(value, "Alignment");
        if (EqualsIgnoringAsciiCase(id, "center"))
            centred_ = true;
        else if (EqualsIgnoringAsciiCase(id, "left"))
            centred_ = false;
        else
            RaiseBadValue("Alignment", id);
        Changed();
    } else if (EqualsIgnoringAsciiCase(name, "AutoSize")) {
        autoSize_ = ExpectBoolean(value, "AutoSize");
        Changed();
    } else if (EqualsIgnoringAsciiCase(name, "WordWrap")) {
        wordWrap_ = ExpectBoolean(value, "WordWrap");
        Changed();
    } else if (EqualsIgnoringAsciiCase(name, "Transparent")) {
        ExpectBooleanOnly(value, "Transparent", true);
    } else if (EqualsIgnoringAsciiCase(name, "ParentFont")) {
        ExpectBooleanOnly(value, "ParentFont", false);
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
