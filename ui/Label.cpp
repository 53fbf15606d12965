// Text labels.
#include "Label.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "Form.h"
#include "TextFormat.h"
#include "UiHandles.h"

namespace attente {

namespace {

// What a new label measures before it has a text (pixels at 96 dpi).
constexpr int kDefaultWidth = 65;
constexpr int kDefaultHeight = 17;

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

void TLabel::Changed() {
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
    const TSelectScope font(screen.Dc(), font_.Handle());
    RECT r{0, 0, wordWrap_ ? ScaleToScreen(Width()) : 0, 0};
    // An empty caption measures as one line, so the label keeps a usable height.
    const std::wstring text = caption_.empty() ? L" " : caption_;
    DrawTextW(screen.Dc(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SetBounds(Left(), Top(), wordWrap_ ? Width() : ScaleToDesign(r.right - r.left),
              ScaleToDesign(r.bottom - r.top));
}

void TLabel::PaintTo(HDC dc) {
    RECT r{0, 0, ScaleToScreen(Width()), ScaleToScreen(Height())};
    const TSelectScope selected(dc, font_.Handle());
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
