// The message loop and its error box. The loop ends when the main window is destroyed, however that
// happens: a hook on sent messages catches WM_NCDESTROY also when it arrives inside GetMessage (a
// close sent from another thread or process), where no posted message would wake the loop.
#include "Application.h"

#include "ExeWidePath.h"
#include "FailureText.h"
#include "Handles.h"
#include "PathRules.h"
#include "ReadingOrder.h"
#include "TextFormat.h"

namespace attente {

TApplication* Application = nullptr;

namespace {

struct THookTraits {
    using Handle = HHOOK;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle hook) noexcept { UnhookWindowsHookEx(hook); }
};
using THook = TScopedHandle<THookTraits>;

HWND gWatchedWindow = nullptr;

LRESULT CALLBACK WatchMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPRETSTRUCT* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (sent->message == WM_NCDESTROY && sent->hwnd == gWatchedWindow && gWatchedWindow != nullptr) {
            gWatchedWindow = nullptr;
            PostQuitMessage(0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TApplication::TApplication() : title_(ExtractFileTitle(ExeFullPathW())) {
    Application = this;
    previousHandler_ =
        SetMessageExceptionHandler([this](const std::exception& failure) { ShowException(failure); });
}

TApplication::~TApplication() {
    mainForm_.reset();
    SetMessageExceptionHandler(std::move(previousHandler_));
    if (Application == this) Application = nullptr;
}

void TApplication::SetMainForm(std::unique_ptr<TMainWindow> form) {
    mainForm_ = std::move(form);
}

int StartupShowState() {
    STARTUPINFOA info = {};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) != 0 ? info.wShowWindow : SW_SHOWNORMAL;
}

void TApplication::ShowMainForm(int showState) {
    const HWND window = mainForm_->Handle();
    switch (showState) {
    case SW_SHOWMAXIMIZED:
        ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    case SW_SHOWMINNOACTIVE:
        // There is no separate application window: minimising the application is minimising its main
        // window, without taking the activation from the program that started it.
        ShowWindow(window, SW_SHOWMINNOACTIVE);
        break;
    default:
        ShowWindow(window, SW_SHOWNORMAL);
        break;
    }
    UpdateWindow(window);
}

int TApplication::Run(int showState) {
    if (!mainForm_ || !IsWindow(mainForm_->Handle())) return 0;
    gWatchedWindow = mainForm_->Handle();
    const THook hook(SetWindowsHookExW(WH_CALLWNDPROCRET, WatchMainWindow, nullptr, GetCurrentThreadId()));
    ShowMainForm(showState);
    MSG message = {};
    while (IsWindow(mainForm_->Handle()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    gWatchedWindow = nullptr;
    return exitCode_;
}

void TApplication::Terminate(int exitCode) {
    exitCode_ = exitCode;
    if (mainForm_ && IsWindow(mainForm_->Handle())) DestroyWindow(mainForm_->Handle());
}

void TApplication::ShowException(const std::exception& failure) noexcept {
    try {
        ShowFailureMessage(Utf8ToWide(failure.what()));
    } catch (...) {
        ShowFailureMessage(std::wstring());
    }
}

void TApplication::ShowFailureMessage(const std::wstring& message) noexcept {
    try {
        const std::wstring text = LoopFailureText(message);
        const HWND owner = mainForm_ && IsWindow(mainForm_->Handle()) ? mainForm_->Handle() : nullptr;
        MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MessageBoxReadingOrder());
    } catch (...) {
        // No memory left for the text: the failure cannot be shown, and the loop still goes on.
    }
}

} // namespace attente
