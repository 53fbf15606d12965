// Text labels.
#include "Label.h"

#include "Dpi.h"
#include "Form.h"
#include "TextFormat.h"
#include "UiHandles.h"

namespace attente {

ATTENTE_DEFINE_COMPONENT_CLASS(TLabel, TControl);

namespace {

// What a new label measures before it has a text (pixels at 96 dpi).
constexpr int kDefaultWidth = 65;
constexpr int kDefaultHeight = 17;

} // namespace

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
    font_.OnChange = [this] {
        parentFont_ = false;
        Changed();
    };
}

const TFont& TLabel::EffectiveFont() const {
    if (parentFont_)
        if (const auto* form = dynamic_cast<const TForm*>(Parent())) return form->Font();
    return font_;
}

bool TLabel::RightToLeft() const {
    const auto* form = dynamic_cast<const TForm*>(Parent());
    return form && form->BiDiMode() == TBiDiMode::RightToLeft;
}

void TLabel::CreateHandle() {
    TControl::CreateHandle();
    if (!window_) return;
    SetWindowTextW(window_, caption_.c_str());
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
    if (window_) SetWindowTextW(window_, caption_.c_str());
    Changed();
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Changed();
}

void TLabel::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    Changed();
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Changed();
}

void TLabel::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    Changed();
}

void TLabel::Changed() {
    AdjustSize();
    InvalidateWithParent();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    const bool rightToLeft = RightToLeft();
    if (rightToLeft) flags |= DT_RTLREADING;
    switch (alignment_) {
    case TAlignment::Left:
        flags |= rightToLeft ? DT_RIGHT : DT_LEFT;
        break;
    case TAlignment::Right:
        flags |= rightToLeft ? DT_LEFT : DT_RIGHT;
        break;
    case TAlignment::Center:
        flags |= DT_CENTER;
        break;
    }
    return flags;
}

void TLabel::AdjustSize() {
    if (!autoSize_ || Loading()) return;
    TScreenDc screen;
    if (!screen.Dc()) return;
    TSelectScope font(screen.Dc(), EffectiveFont().Handle());
    RECT r{0, 0, wordWrap_ ? ScaleToScreen(Width()) : 0, 0};
    // An empty caption measures as one line, so the label keeps a usable height.
    const std::wstring text = caption_.empty() ? L" " : caption_;
    DrawTextW(screen.Dc(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SetBounds(Left(), Top(), wordWrap_ ? Width() : ScaleToDesign(r.right - r.left),
              ScaleToDesign(r.bottom - r.top));
}

void TLabel::PaintTo(HDC dc) {
    RECT r{0, 0, ScaleToScreen(Width()), ScaleToScreen(Height())};
    if (!transparent_) {
        const auto* form = dynamic_cast<const TForm*>(Parent());
        TGdiObject brush(CreateSolidBrush(form ? form->Color().Resolve() : GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    }
    const TFont& font = EffectiveFont();
    TSelectScope selected(dc, font.Handle());
    SetTextColor(dc, font.Color().Resolve());
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DrawFlags());
}

bool TLabel::SetProperty(std::string_view name, const TValue& value) {
    std::string_view head, rest;
    SplitPropertyName(name, head, rest);
    if (!rest.empty()) {
        if (SameName(head, "Font")) return font_.SetProperty(rest, value);
        return false;
    }
    if (SameName(name, "Caption")) {
        SetCaption(Utf8ToWide(ExpectString(value, "Caption")));
    } else if (SameName(name, "Alignment")) {
        const std::string& id = ExpectIdentifier(value, "Alignment");
        if (SameName(id, "left"))
            SetAlignment(TAlignment::Left);
        else if (SameName(id, "right"))
            SetAlignment(TAlignment::Right);
        else if (SameName(id, "center"))
            SetAlignment(TAlignment::Center);
        else
            RaiseBadValue("Alignment", id);
    } else if (SameName(name, "AutoSize")) {
        SetAutoSize(ExpectBoolean(value, "AutoSize"));
    } else if (SameName(name, "WordWrap")) {
        SetWordWrap(ExpectBoolean(value, "WordWrap"));
    } else if (SameName(name, "Transparent")) {
        SetTransparent(ExpectBoolean(value, "Transparent"));
    } else if (SameName(name, "ParentFont")) {
        SetParentFont(ExpectBoolean(value, "ParentFont"));
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
