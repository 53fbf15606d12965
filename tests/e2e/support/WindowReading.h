// Reading another process's window as a user sees it: its child controls and its pixels on screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace attente::test {

struct TChildWindow {
    HWND Window = nullptr;
    std::string ClassName;
    std::wstring Text;
    bool Visible = false;
    RECT Rect{}; // screen coordinates
};

std::vector<TChildWindow> ChildWindows(HWND parent);

// The window's client area as it stands on the screen. GDI handles do not cross processes, so it is
// copied from the screen, where Xvfb keeps exact pixels; nothing may cover the window meanwhile.
class TScreenPixels {
  public:
    explicit TScreenPixels(HWND window);
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const; // CLR_INVALID outside

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// Repaints the window (and its children) now, as the system would after it was uncovered.
void RepaintNow(HWND window);

} // namespace attente::test
