// Owners for the window-side handle kinds the framework creates: icons, and paint and DC selections
// that must be undone on every path out of a paint routine.
#pragma once

#include "Handles.h"

#include <windows.h>

namespace attente {

struct TIconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle icon) noexcept { DestroyIcon(icon); }
};
using TIcon = TScopedHandle<TIconTraits>;

// BeginPaint/EndPaint as one scope.
class TPaintScope {
  public:
    explicit TPaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~TPaintScope() { EndPaint(window_, &paint_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A SelectObject undone at the end of the scope.
class TSelectScope {
  public:
    TSelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectScope() {
        if (previous_) SelectObject(dc_, previous_);
    }
    TSelectScope(const TSelectScope&) = delete;
    TSelectScope& operator=(const TSelectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC/RestoreDC: clipping and origin changes stay inside the scope.
class TSavedDc {
  public:
    explicit TSavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    TSavedDc(const TSavedDc&) = delete;
    TSavedDc& operator=(const TSavedDc&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// A screen DC for measuring, released on every path.
class TScreenDc {
  public:
    TScreenDc() : dc_(GetDC(nullptr)) {}
    ~TScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    TScreenDc(const TScreenDc&) = delete;
    TScreenDc& operator=(const TScreenDc&) = delete;
    HDC Dc() const { return dc_; }

  private:
    HDC dc_;
};

} // namespace attente
