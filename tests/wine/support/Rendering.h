// A copy of what a shown window put on the screen (exact under Xvfb), read pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace attente::test {

class TRendering {
  public:
    TRendering(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        // A colour no test draws, so untouched pixels stand out.
        for (int i = 0; i < width * height; ++i)
            bits_[i] = 0x00123456;
    }
    ~TRendering() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    TRendering(const TRendering&) = delete;
    TRendering& operator=(const TRendering&) = delete;

    HDC Dc() const { return dc_; }
    // Brings the window above every other (other test processes show windows too), paints it and
    // its children through their WM_PAINT now, and copies its client area from the screen.
    void Capture(HWND window) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        CopyFromScreen(window);
    }
    // The client area as the screen holds it now, without painting anything.
    void CopyFromScreen(HWND window) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        BitBlt(dc_, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
    }
    COLORREF Pixel(int x, int y) const {
        const std::uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Pixels of `colour` inside [left, right) x [top, bottom).
    int Count(COLORREF colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Pixel(x, y) == colour) ++n;
        return n;
    }
    // Pixels that are neither of two colours (text drawn over a background, say).
    int CountOther(COLORREF a, COLORREF b, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Pixel(x, y) != a && Pixel(x, y) != b) ++n;
        return n;
    }

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    std::uint32_t* bits_;
};

} // namespace attente::test
