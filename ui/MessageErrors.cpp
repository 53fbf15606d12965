// The hook for exceptions caught in window procedures.
#include "MessageErrors.h"

namespace attente {

namespace {

TMessageExceptionHandler& CurrentHandler() {
    static TMessageExceptionHandler handler;
    return handler;
}

bool inHandler = false;

} // namespace

TMessageExceptionHandler SetMessageExceptionHandler(TMessageExceptionHandler handler) {
    TMessageExceptionHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void HandleMessageException(const std::exception& error) noexcept {
    if (inHandler || !CurrentHandler()) return;
    inHandler = true;
    try {
        CurrentHandler()(error);
    } catch (...) {
        // The handler failed in turn; nothing is left that could report it.
    }
    inHandler = false;
}

} // namespace attente
