// The message loop and its error box. The loop ends when the main window is destroyed, however that
// happens: its destruction posts the quit message, which the loop sees also when the destruction was
// sent from another thread or process while it waited.
#include "Application.h"

#include "ExeWidePath.h"
#include "FailureBox.h"
#include "FailureText.h"
#include "PathRules.h"
#include "ReadingOrder.h"
#include "StartupTrace.h"
#include "TextFormat.h"

namespace attente {

TApplication* Application = nullptr;

namespace {

// A box's modal loop waits for messages only: a thread timer wakes it this often to look at the
// watched processes, so that their end closes the window, box and all, as without the box.
constexpr UINT kBoxWatchPeriodMs = 100;

void CALLBACK WatchDuringBox(HWND, UINT, UINT_PTR, DWORD) {
    if (Application) Application->PostEnded();
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

void TApplication::SetMainForm(std::unique_ptr<TForm> form) {
    mainForm_ = std::move(form);
    if (mainForm_) mainForm_->OnDestroy = [](TComponent&) { PostQuitMessage(0); };
}

int StartupShowState() {
    STARTUPINFOA info = {};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) != 0 ? info.wShowWindow : SW_SHOWNORMAL;
}

int TApplication::Run(int showState) {
    if (!mainForm_ || !mainForm_->Handle()) return 0;
    // There is no separate application window: minimising the application is minimising its main
    // window, without taking the activation from the program that started it; shown normally, it
    // takes it neither.
    if (showState != SW_SHOWMAXIMIZED && showState != SW_SHOWMINNOACTIVE && showState != kNotShown)
        showState = SW_SHOWNOACTIVATE;
    if (showState != kNotShown) mainForm_->Show(showState);
    TraceStartupStep("5.painted");
    WriteStartupTrace();
    while (WaitForWork()) {
    }
    return exitCode_;
}

bool TApplication::WaitForWork() {
    MSG message = {};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    HANDLE handles[MAXIMUM_WAIT_OBJECTS - 1];
    const DWORD count = static_cast<DWORD>(watches_.size());
    for (DWORD i = 0; i < count; ++i)
        handles[i] = watches_[i].Handle;
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(count, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken < WAIT_OBJECT_0 + count) {
        const TWatch ended = watches_[woken - WAIT_OBJECT_0];
        watches_.erase(watches_.begin() + (woken - WAIT_OBJECT_0));
        PostMessageW(ended.Window, ended.Message, 0, 0);
    } else if (woken == WAIT_FAILED) {
        // A handle closed behind the loop's back would fail every wait: it is no longer watched.
        watches_.clear();
    }
    return true;
}

void TApplication::PostEnded() noexcept {
    for (std::size_t i = 0; i < watches_.size();) {
        if (WaitForSingleObject(watches_[i].Handle, 0) != WAIT_OBJECT_0) {
            ++i;
            continue;
        }
        PostMessageW(watches_[i].Window, watches_[i].Message, 0, 0);
        watches_.erase(watches_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void TApplication::Watch(HANDLE handle, HWND window, UINT message) {
    if (watches_.size() < MAXIMUM_WAIT_OBJECTS - 1) watches_.push_back({handle, window, message});
}

void TApplication::StopWatching(HANDLE handle) {
    std::erase_if(watches_, [handle](const TWatch& watch) { return watch.Handle == handle; });
}

void TApplication::Terminate(int exitCode) {
    exitCode_ = exitCode;
    if (mainForm_ && mainForm_->Handle()) DestroyWindow(mainForm_->Handle());
}

void TApplication::ShowException(const std::exception& failure) noexcept {
    try {
        const std::wstring text = LoopFailureText(Utf8ToWide(failure.what()));
        const HWND owner = mainForm_ ? mainForm_->Handle() : nullptr;
        BoxWhileWatching(owner, text);
    } catch (...) {
        // No memory left for the text: the failure cannot be shown, and the loop still goes on.
    }
}

void TApplication::BoxWhileWatching(HWND owner, const std::wstring& text) const {
    const UINT_PTR timer = SetTimer(nullptr, 0, kBoxWatchPeriodMs, WatchDuringBox);
    ShowFailureBox(owner, text, title_, MB_OK | MB_ICONERROR | MessageBoxReadingOrder());
    if (timer) KillTimer(nullptr, timer);
}

} // namespace attente
