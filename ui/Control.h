// Visual components: bounds in pixels at 96 dpi, visibility, a parent control, and a real window.
// Child controls (labels, pictures) are owner-drawn STATIC windows whose parent form hands their
// drawing back to them; screen readers still read their window text.
#pragma once

#include "Component.h"

#include <windows.h>

#include <vector>

namespace attente {

class TControl : public TComponent {
    ATTENTE_CLASS(TControl, TComponent)
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Bounds at 96 dpi; the window gets them scaled to the screen.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);

    // Once the window exists its own WS_VISIBLE is the only truth; before, what it will be made with.
    bool Visible() const;
    void SetVisible(bool visible);

    TControl* Parent() const { return parent_; }
    // A child goes into a form only; its window is made at once when the form has one.
    void SetParent(TControl* parent);
    const std::vector<TControl*>& Controls() const { return controls_; }

    // The window, or null while none exists; asking never makes one.
    HWND Handle() const { return window_; }
    // Makes the window (and the children's) at the current state.
    virtual void CreateHandle();

    // Draws the control into `dc`, whose origin is the control's top-left corner.
    virtual void PaintTo(HDC dc) { (void)dc; }
    // The parent form's reading order changed.
    virtual void ParentBiDiModeChanged() {}

    // Left, Top, Width, Height, Visible.
    bool SetProperty(std::string_view name, const TValue& value) override;

    // The control behind a window the framework made, or null.
    static TControl* FromHandle(HWND window);

  protected:
    // The window is going or gone: forget it (and the children's, which go with it).
    void HandleDestroyed();
    void Attach(HWND window);
    // Redraws the control with what its parent paints beneath it: children draw no background.
    void InvalidateWithParent();
    // The bounds in screen pixels.
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
