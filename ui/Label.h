// A text label: a real child window holding its caption as window text (screen readers read it),
// drawn by its own paint routine, centred or from the reading edge, wrapped, over its form's
// background, in its own font.
#pragma once

#include "Control.h"
#include "Font.h"
#include "Handles.h"

#include <string>

namespace attente {

class TLabel : public TControl {
    ATTENTE_CLASS(TLabel, TControl)
  public:
    explicit TLabel(TComponent* owner);

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    TFont& Font() { return font_; }
    // The parent form reads right to left: so does the text, and the window carries
    // WS_EX_RTLREADING so that readers of the window see the order too.
    bool RightToLeft() const;
    // The DrawTextW flags the label paints and measures with.
    UINT DrawFlags() const;
    // The font the label paints and measures its caption with: its own, or, when its own lacks a
    // letter of the caption, a face of that letter's script.
    HFONT DrawFont() const;

    void CreateHandle() override;
    void PaintTo(HDC dc) override;
    void ParentBiDiModeChanged() override;
    // Caption, Alignment (left, center), AutoSize, WordWrap, Transparent (true), ParentFont (false),
    // Font.*, and the control properties.
    bool SetProperty(std::string_view name, const TValue& value) override;

  protected:
    void Loaded() override { Changed(); }

  private:
    // Shows a change once loading is over: the caption as window text (what screen readers name),
    // the size, and a paint to come.
    void Changed();
    void ApplyReadingOrder();
    // On AutoSize: the label takes the size of its text (keeping its width when it wraps).
    void AdjustSize();

    std::wstring caption_;
    std::wstring windowText_; // what the window was last given: a change is announced only when it differs
    mutable TGdiObject fallback_;      // the script's face for the caption, when its own font lacks it
    mutable bool fallbackKnown_ = false; // fallback_ is for the caption and font as they are
    bool centred_ = false;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    TFont font_;
};

} // namespace attente
