// A text label: a real child window holding its caption as window text (screen readers read it),
// drawn by its own paint routine with its alignment, wrapping, font and transparency.
#pragma once

#include "Control.h"
#include "Font.h"

#include <string>

namespace attente {

enum class TAlignment { Left, Right, Center };

class TLabel : public TControl {
    ATTENTE_COMPONENT_CLASS(TLabel, TControl)
  public:
    explicit TLabel(TComponent* owner);

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // On: the label takes the size of its text (keeping its width when it wraps).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // On: what the parent paints shows behind the text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // On: the parent form's font is used; setting any Font property turns it off.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TFont& Font() { return font_; }
    // The font in use: the parent's or the label's own.
    const TFont& EffectiveFont() const;

    void PaintTo(HDC dc) override;
    void ParentFontChanged() override {
        if (parentFont_) Changed();
    }
    // On a right-to-left form: the text reads right to left, left and right alignment swap sides, and
    // the window carries WS_EX_RTLREADING so that readers of the window see the order too.
    bool RightToLeft() const;
    void ParentBiDiModeChanged() override;
    // Caption, Alignment, AutoSize, WordWrap, Transparent, ParentFont, Font.*, and the control
    // properties.
    bool SetProperty(std::string_view name, const TValue& value) override;

  protected:
    void CreateHandle() override;
    void Loaded() override { Changed(); }

  private:
    void Changed();
    void ApplyReadingOrder();
    void AdjustSize();
    UINT DrawFlags() const;

    std::wstring caption_;
    TAlignment alignment_ = TAlignment::Left;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool parentFont_ = true;
    TFont font_;
};

} // namespace attente
