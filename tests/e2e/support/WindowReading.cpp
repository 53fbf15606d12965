// Child-window listing and screen sampling for the end-to-end tests.
#include "WindowReading.h"

#include "ChildProcess.h"
#include "Handles.h"

namespace attente::test {

namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    TChildWindow child;
    child.Window = window;
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    child.ClassName = name;
    child.Text = WindowText(window);
    child.Visible = IsWindowVisible(window) != FALSE;
    GetWindowRect(window, &child.Rect);
    reinterpret_cast<std::vector<TChildWindow>*>(param)->push_back(child);
    return TRUE;
}

} // namespace

std::vector<TChildWindow> ChildWindows(HWND parent) {
    std::vector<TChildWindow> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

TScreenPixels::TScreenPixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const TGdiObject bitmap(CreateCompatibleBitmap(screen, width_, height_));
    HGDIOBJ previous = SelectObject(memory, bitmap.Get());
    BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
    pixels_.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) pixels_.push_back(GetPixel(memory, x, y));
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF TScreenPixels::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void RepaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The repaint happens in the window's own process: wait until it has handled what was sent.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

} // namespace attente::test
