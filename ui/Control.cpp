// Bounds, visibility, parents and the child windows of visual components.
#include "Control.h"

#include "AsciiCase.h"
#include "Dpi.h"
#include "Exceptions.h"
#include "TextFormat.h"

#include <algorithm>

namespace attente {

namespace {

// Window property that maps our windows back to their controls; STATIC keeps no user data of its own,
// but a property name of ours cannot collide with anything a class stores.
constexpr wchar_t kControlProperty[] = L"Attente.Control";
// Window coordinates are 16-bit in many messages; nothing of ours is larger.
constexpr int kMaxCoordinate = 0x7FFF;

} // namespace

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (window_) {
        HWND window = window_;
        HandleDestroyed();
        DestroyWindow(window);
    }
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    if (parent_) SetParent(nullptr);
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropW(window, kControlProperty)) : nullptr;
}

void TControl::Attach(HWND window) {
    window_ = window;
    SetPropW(window, kControlProperty, this);
}

void TControl::HandleDestroyed() {
    for (TControl* child : controls_)
        child->HandleDestroyed();
    if (!window_) return;
    RemovePropW(window_, kControlProperty);
    window_ = nullptr;
}

RECT TControl::ScreenBounds() const {
    return {ScaleToScreen(left_), ScaleToScreen(top_), ScaleToScreen(left_ + width_),
            ScaleToScreen(top_ + height_)};
}

void TControl::CreateHandle() {
    if (window_ || !parent_ || !parent_->window_) return;
    const RECT r = ScreenBounds();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW | (visible_ ? WS_VISIBLE : 0),
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, parent_->window_,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) throw Exception(Concat({"CreateWindowExW a échoué (", std::to_string(GetLastError()), ")"}));
    Attach(window);
}

void TControl::InvalidateWithParent() {
    if (!window_ || !parent_ || !parent_->window_) return;
    RECT r;
    GetWindowRect(window_, &r);
    MapWindowPoints(nullptr, parent_->window_, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent_->window_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    // A module may give any 32-bit value; beyond this range scaling could overflow.
    left = std::clamp(left, -kMaxCoordinate, kMaxCoordinate);
    top = std::clamp(top, -kMaxCoordinate, kMaxCoordinate);
    width = std::clamp(width, 0, kMaxCoordinate);
    height = std::clamp(height, 0, kMaxCoordinate);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (window_ && parent_) {
        InvalidateWithParent();
        const RECT r = ScreenBounds();
        SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateWithParent();
    }
}

bool TControl::Visible() const {
    if (window_) return (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
    return visible_;
}

void TControl::SetVisible(bool visible) {
    if (!window_) {
        visible_ = visible;
        return;
    }
    if (visible == Visible()) return;
    if (!visible) InvalidateWithParent();
    ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) InvalidateWithParent();
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        if (window_) {
            HWND window = window_;
            HandleDestroyed();
            DestroyWindow(window);
        }
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_) {
        parent_->controls_.push_back(this);
        CreateHandle();
    }
}

bool TControl::SetProperty(std::string_view name, const TValue& value) {
    if (EqualsIgnoringAsciiCase(name, "Left")) {
        SetBounds(ExpectInteger(value, "Left"), top_, width_, height_);
    } else if (EqualsIgnoringAsciiCase(name, "Top")) {
        SetBounds(left_, ExpectInteger(value, "Top"), width_, height_);
    } else if (EqualsIgnoringAsciiCase(name, "Width")) {
        SetBounds(left_, top_, ExpectInteger(value, "Width"), height_);
    } else if (EqualsIgnoringAsciiCase(name, "Height")) {
        SetBounds(left_, top_, width_, ExpectInteger(value, "Height"));
    } else if (EqualsIgnoringAsciiCase(name, "Visible")) {
        SetVisible(ExpectBoolean(value, "Visible"));
    } else {
        return TComponent::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
