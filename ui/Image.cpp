// Pictures holding an icon.
#include "Image.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "Exceptions.h"
#include "IconFile.h"

namespace attente {

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

// An icon is drawn for 96 dpi like the rest of the layout, so it grows with the screen's density.
void TImage::AdjustSize() {
    if (autoSize_ && icon_ && !Loading()) SetBounds(Left(), Top(), iconWidth_, iconHeight_);
}

void TImage::PaintTo(HDC dc) {
    if (icon_)
        DrawIconEx(dc, 0, 0, icon_.Get(), ScaleToScreen(iconWidth_), ScaleToScreen(iconHeight_), 0, nullptr,
                   DI_NORMAL);
}

bool TImage::SetProperty(std::string_view name, const TValue& value) {
    if (EqualsIgnoringAsciiCase(name, "Picture")) {
        SetIconData(ExpectBinary(value, "Picture"));
    } else if (EqualsIgnoringAsciiCase(name, "AutoSize")) {
        autoSize_ = ExpectBoolean(value, "AutoSize");
        AdjustSize();
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
