// Visual components: bounds in pixels at 96 dpi, visibility, a parent control, and a real window.
// Child controls (labels, pictures) are owner-drawn STATIC windows whose parent form hands their
// drawing back to them; that keeps one paint routine per control for WM_PAINT and WM_PRINTCLIENT,
// and screen readers still read their window text.
#pragma once

#include "Component.h"

#include <windows.h>

#include <vector>

namespace attente {

class TControl : public TComponent {
    ATTENTE_COMPONENT_CLASS(TControl, TComponent)
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Bounds at 96 dpi; the window gets them scaled to the screen.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);

    TControl* Parent() const { return parent_; }
    // Child controls go into containers only (forms); raises EReadError otherwise.
    void SetParent(TControl* parent);
    virtual bool IsContainer() const { return false; }
    const std::vector<TControl*>& Controls() const { return controls_; }

    // The window, made on first use (a child's once its parent has one).
    HWND Handle();
    bool HandleAllocated() const { return window_ != nullptr; }

    // The parent's font changed; controls that follow it re-measure and redraw.
    virtual void ParentFontChanged() {}
    // The parent form's reading order changed.
    virtual void ParentBiDiModeChanged() {}

    // Draws the control into `dc`, whose origin is the control's top-left corner.
    virtual void PaintTo(HDC dc) { (void)dc; }

    // Left, Top, Width, Height, Visible.
    bool SetProperty(std::string_view name, const TValue& value) override;

    // The control behind a window the framework made, or null.
    static TControl* FromHandle(HWND window);

  protected:
    // Makes the window; the default makes the owner-drawn child STATIC of a child control.
    virtual void CreateHandle();
    // The window is going or gone: forget it (and the children's, which go with it).
    void HandleDestroyed();
    void DestroyHandle();
    void Attach(HWND window);
    // Redraws the control with what its parent paints beneath it (transparent controls need that).
    void InvalidateWithParent();
    // The bounds in the parent's client pixels.
    RECT ScreenBounds() const;
    HWND window_ = nullptr;

  private:
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
};

} // namespace attente
