// The hook for exceptions caught in window procedures, and its default message box.
#include "MessageErrors.h"

#include "TextFormat.h"

#include <windows.h>

#include <string>

namespace attente {

namespace {

TMessageExceptionHandler& CurrentHandler() {
    static TMessageExceptionHandler handler;
    return handler;
}

bool inHandler = false;

// The exe's file name without folder and extension, for want of a title in the framework.
std::wstring ProgramTitle() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = title.find_last_of(L"\\/");
    if (slash != std::wstring::npos) title.erase(0, slash + 1);
    const std::size_t dot = title.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) title.erase(dot);
    return title;
}

void DefaultHandler(const std::exception& error) {
    MessageBoxW(nullptr, Utf8ToWide(error.what()).c_str(), ProgramTitle().c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace

TMessageExceptionHandler SetMessageExceptionHandler(TMessageExceptionHandler handler) {
    TMessageExceptionHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void HandleMessageException(const std::exception& error) noexcept {
    if (inHandler) return;
    inHandler = true;
    try {
        if (CurrentHandler())
            CurrentHandler()(error);
        else
            DefaultHandler(error);
    } catch (...) {
        // The handler failed in turn; nothing is left that could report it.
    }
    inHandler = false;
}

} // namespace attente
