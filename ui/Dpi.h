// Layout is written at 96 pixels per inch; these scale it to the screen's real density.
#pragma once

namespace attente {

constexpr int kDesignDpi = 96;

// The screen's vertical density (LOGPIXELSY), read once.
int ScreenDpi();
// Design pixels to screen pixels and back, rounded as MulDiv rounds.
int ScaleToScreen(int designPixels);
int ScaleToDesign(int screenPixels);

} // namespace attente
