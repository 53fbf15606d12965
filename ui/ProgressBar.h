// A progress bar: the system's own progress control (comctl32's, themed, read by screen readers),
// hidden until told what to show. Its window and comctl32 itself are only made when it is first
// shown, so a window that never shows progress loads neither.
#pragma once

#include "Control.h"

namespace attente {

class TProgressBar : public TControl {
    ATTENTE_CLASS(TProgressBar, TControl)
  public:
    // Hidden: a description gives its place only.
    explicit TProgressBar(TComponent* owner);

    // Shows `position` of `range` (range >= 1), or a moving busy indicator; each call that changes
    // what is shown tells accessibility tools once.
    void ShowPosition(int position, int range);
    void ShowBusy();
    void Hide();

    // The windows are made on the first Show, never at the form's creation.
    void CreateHandle() override {}

  private:
    // The control with or without the busy style (a style the control reads at creation only on
    // some systems), made inside the common controls' version 6 context.
    void Make(bool busy);

    bool busy_ = false;
    int position_ = -1;
    int range_ = 0;
};

} // namespace attente
