// Pictures holding an icon.
#include "Image.h"

#include "Dpi.h"
#include "Exceptions.h"
#include "Form.h"
#include "IconFile.h"

namespace attente {

ATTENTE_DEFINE_COMPONENT_CLASS(TImage, TControl);

namespace {

constexpr int kDefaultSize = 105; // pixels at 96 dpi, before a picture or a size is given
constexpr int kWantedIconSize = 32;
constexpr DWORD kIconFormatVersion = 0x00030000; // the format CreateIconFromResourceEx expects

} // namespace

TImage::TImage(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, kDefaultSize, kDefaultSize);
}

void TImage::SetIconData(const std::vector<std::uint8_t>& icoFile) {
    const TIconImage image = PickIconImage(icoFile, kWantedIconSize);
    // A copy of its own: the system wants the image DWORD-aligned, which an offset in the file is not.
    std::vector<BYTE> bits(icoFile.begin() + static_cast<std::ptrdiff_t>(image.Offset),
                           icoFile.begin() + static_cast<std::ptrdiff_t>(image.Offset + image.Size));
    HICON icon = CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE,
                                          kIconFormatVersion, image.Width, image.Height, LR_DEFAULTCOLOR);
    if (!icon) throw EReadError("Image d'icône incorrecte : le système la refuse");
    icon_.Reset(icon);
    iconWidth_ = image.Width;
    iconHeight_ = image.Height;
    AdjustSize();
    InvalidateWithParent();
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TImage::AdjustSize() {
    if (autoSize_ && icon_ && !Loading())
        SetBounds(Left(), Top(), ScaleToDesign(iconWidth_), ScaleToDesign(iconHeight_));
}

void TImage::PaintTo(HDC dc) {
    RECT r{0, 0, ScaleToScreen(Width()), ScaleToScreen(Height())};
    const auto* form = dynamic_cast<const TForm*>(Parent());
    TGdiObject brush(CreateSolidBrush(form ? form->Color().Resolve() : GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    if (icon_) DrawIconEx(dc, 0, 0, icon_.Get(), iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
}

bool TImage::SetProperty(std::string_view name, const TValue& value) {
    if (SameName(name, "Picture")) {
        SetIconData(ExpectBinary(value, "Picture"));
    } else if (SameName(name, "AutoSize")) {
        SetAutoSize(ExpectBoolean(value, "AutoSize"));
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
