// The main window's creation: the status window read from the resource source.
#include "MainForm.h"

#include "Form1.h"
#include "FormResources.h"

namespace attente {

std::unique_ptr<TForm> CreateMainForm() {
    return CreateForm<TForm1>();
}

} // namespace attente
