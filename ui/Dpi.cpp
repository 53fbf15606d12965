// Screen density, read once: the program is not per-monitor aware, so it cannot change under us.
#include "Dpi.h"

#include <windows.h>

namespace attente {

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

int ScaleToScreen(int designPixels) {
    return MulDiv(designPixels, ScreenDpi(), kDesignDpi);
}

int ScaleToDesign(int screenPixels) {
    return MulDiv(screenPixels, kDesignDpi, ScreenDpi());
}

} // namespace attente
