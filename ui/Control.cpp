// Bounds, visibility, parents and the child windows of visual components.
#include "Control.h"

#include "Dpi.h"
#include "Exceptions.h"

#include <algorithm>

namespace attente {

ATTENTE_DEFINE_COMPONENT_CLASS(TControl, TComponent);

namespace {

// Window property that maps our windows back to their controls; STATIC keeps no user data of its own,
// but a property name of ours cannot collide with anything a class stores.
constexpr wchar_t kControlProperty[] = L"Attente.Control";
// Window coordinates are 16-bit in many messages; nothing of ours is larger.
constexpr int kMaxCoordinate = 0x7FFF;

} // namespace

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    DestroyHandle();
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    if (parent_) SetParent(nullptr);
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropW(window, kControlProperty)) : nullptr;
}

void TControl::Attach(HWND window) {
    window_ = window;
    if (window) SetPropW(window, kControlProperty, this);
}

void TControl::HandleDestroyed() {
    for (TControl* child : controls_)
        child->HandleDestroyed();
    if (window_) RemovePropW(window_, kControlProperty);
    window_ = nullptr;
}

void TControl::DestroyHandle() {
    if (!window_) return;
    HWND window = window_;
    HandleDestroyed();
    DestroyWindow(window);
}

HWND TControl::Handle() {
    if (!window_) CreateHandle();
    return window_;
}

RECT TControl::ScreenBounds() const {
    return {ScaleToScreen(left_), ScaleToScreen(top_), ScaleToScreen(left_ + width_),
            ScaleToScreen(top_ + height_)};
}

void TControl::CreateHandle() {
    if (!parent_) return;
    HWND parentWindow = parent_->Handle();
    if (!parentWindow) return;
    const RECT r = ScreenBounds();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW | (visible_ ? WS_VISIBLE : 0),
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, parentWindow, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) throw Exception("CreateWindowExW a échoué (" + std::to_string(GetLastError()) + ")");
    Attach(window);
}

void TControl::InvalidateWithParent() {
    if (!window_) return;
    if (parent_ && parent_->window_) {
        RECT r;
        GetWindowRect(window_, &r);
        MapWindowPoints(nullptr, parent_->window_, reinterpret_cast<POINT*>(&r), 2);
        RedrawWindow(parent_->window_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else {
        InvalidateRect(window_, nullptr, TRUE);
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    // A module may give any 32-bit value; beyond this range scaling could overflow.
    left = std::clamp(left, -kMaxCoordinate, kMaxCoordinate);
    top = std::clamp(top, -kMaxCoordinate, kMaxCoordinate);
    width = std::clamp(width, 0, kMaxCoordinate);
    height = std::clamp(height, 0, kMaxCoordinate);
    const bool moved = left != left_ || top != top_ || width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (window_ && moved && parent_) {
        InvalidateWithParent();
        const RECT r = ScreenBounds();
        SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateWithParent();
    }
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (window_) {
        if (!visible) InvalidateWithParent();
        ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_) return;
    if (parent && !parent->IsContainer())
        throw EReadError(std::string("Le composant ") + parent->Name() + " ne peut pas contenir " + Name());
    if (parent_) {
        DestroyHandle();
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_) {
        parent_->controls_.push_back(this);
        if (parent_->HandleAllocated()) CreateHandle();
    }
}

bool TControl::SetProperty(std::string_view name, const TValue& value) {
    if (SameName(name, "Left")) {
        SetLeft(ExpectInteger(value, "Left"));
    } else if (SameName(name, "Top")) {
        SetTop(ExpectInteger(value, "Top"));
    } else if (SameName(name, "Width")) {
        SetWidth(ExpectInteger(value, "Width"));
    } else if (SameName(name, "Height")) {
        SetHeight(ExpectInteger(value, "Height"));
    } else if (SameName(name, "Visible")) {
        SetVisible(ExpectBoolean(value, "Visible"));
    } else {
        return TComponent::SetProperty(name, value);
    }
    return true;
}

} // namespace attente
