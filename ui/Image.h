// A picture holding an icon, given as the bytes of a .ico file; drawn at its natural size by its own
// paint routine, in a child window of its form.
#pragma once

#include "Control.h"
#include "UiHandles.h"

#include <cstdint>
#include <vector>

namespace attente {

class TImage : public TControl {
    ATTENTE_COMPONENT_CLASS(TImage, TControl)
  public:
    explicit TImage(TComponent* owner);

    // Raises EReadError when the bytes are not an icon file with a usable image; the picture held
    // before stays then.
    void SetIconData(const std::vector<std::uint8_t>& icoFile);
    HICON Icon() const { return icon_.Get(); }
    // The icon's size in pixels; 0 without a picture.
    int IconWidth() const { return iconWidth_; }
    int IconHeight() const { return iconHeight_; }
    // On: the control takes the icon's size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    void PaintTo(HDC dc) override;
    // Picture (binary .ico data), AutoSize, and the control properties.
    bool SetProperty(std::string_view name, const TValue& value) override;

  protected:
    void Loaded() override { AdjustSize(); }

  private:
    void AdjustSize();

    TIcon icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    bool autoSize_ = false;
};

} // namespace attente
