// A picture holding an icon, given as the bytes of a .ico file; drawn at its natural size over its
// form's background by its own paint routine, in a child window of its form.
#pragma once

#include "Control.h"
#include "UiHandles.h"

#include <cstdint>
#include <vector>

namespace attente {

class TImage : public TControl {
    ATTENTE_CLASS(TImage, TControl)
  public:
    explicit TImage(TComponent* owner);

    // Raises EReadError when the bytes are not an icon file with a usable image; the picture held
    // before stays then.
    void SetIconData(const std::vector<std::uint8_t>& icoFile);
    HICON Icon() const { return icon_.Get(); }

    void PaintTo(HDC dc) override;
    // Picture (binary .ico data), AutoSize, and the control properties.
    bool SetProperty(std::string_view name, const TValue& value) override;

  protected:
    void Loaded() override { AdjustSize(); }

  private:
    // On AutoSize: the control takes the icon's size.
    void AdjustSize();

    TIcon icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    bool autoSize_ = false;
};

} // namespace attente
