// What becomes of an exception raised by a routine while a window message is handled: it must not
// unwind through the system's window procedure, so the framework catches it and hands it here.
#pragma once

#include <exception>
#include <functional>

namespace attente {

using TMessageExceptionHandler = std::function<void(const std::exception& error)>;

// The application object sets its own (its error box); an empty handler restores the default, a
// message box with the error icon. Returns the previous handler.
TMessageExceptionHandler SetMessageExceptionHandler(TMessageExceptionHandler handler);

// Called by the window procedures. An exception raised while the handler itself runs (its box pumps
// messages, which may fail again) is dropped rather than stacking boxes.
void HandleMessageException(const std::exception& error) noexcept;

} // namespace attente
