// The screen list: every open form, the most recently focused first, the others in creation order.
#pragma once

#include <vector>

namespace attente {

class TForm;

class TScreen {
  public:
    constexpr TScreen() = default;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    // Raises EListError outside 0..FormCount()-1.
    TForm* Forms(int index) const;

  private:
    friend class TForm;
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    // The form took the focus: it goes to the front, the others keep their order.
    void FormFocused(TForm* form);

    std::vector<TForm*> forms_;
};

// The program's one screen list; constant-initialised, so it exists before any form can.
extern TScreen Screen;

} // namespace attente
