// The main window's creation.
#include "MainForm.h"

namespace attente {

// TODO(status window): create TForm1 here once it exists. Until then the program has no window and
// ends right after start-up.
std::unique_ptr<TMainWindow> CreateMainForm() {
    return nullptr;
}

} // namespace attente
