// The screen list.
#include "Screen.h"

#include "Exceptions.h"
#include "TextFormat.h"

#include <algorithm>
#include <string>

namespace attente {

constinit TScreen Screen;

TForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError(Concat({"Indice de liste hors limites (", std::to_string(index), ")"}));
    return forms_[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TForm* form) {
    forms_.push_back(form);
}

void TScreen::RemoveForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TScreen::FormFocused(TForm* form) {
    const auto at = std::find(forms_.begin(), forms_.end(), form);
    if (at != forms_.end()) std::rotate(forms_.begin(), at, at + 1);
}

} // namespace attente
