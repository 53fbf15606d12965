// What becomes of an exception raised by a routine while a window message is handled: it must not
// unwind through the system's window procedure, so the framework catches it and hands it to the
// handler the application sets (its error box).
#pragma once

#include <exception>
#include <functional>

namespace attente {

using TMessageExceptionHandler = std::function<void(const std::exception& error)>;

// Returns the previous handler. With none set, a failure is dropped: only the application can say
// how to show it.
TMessageExceptionHandler SetMessageExceptionHandler(TMessageExceptionHandler handler);

// Called by the window procedures. An exception raised while the handler itself runs (its box pumps
// messages, which may fail again) is dropped rather than stacking boxes.
void HandleMessageException(const std::exception& error) noexcept;

} // namespace attente
