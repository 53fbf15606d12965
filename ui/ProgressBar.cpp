// The progress control, made on demand in the version 6 context of the common controls.
#include "ProgressBar.h"

#include "Dpi.h"
#include "Exceptions.h"
#include "ResourceIds.h"
#include "TextFormat.h"

#include <commctrl.h>

namespace attente {

namespace {

// The exe's manifest resource that names the common controls version 6 (themes, the busy style);
// only the progress bar is made in its context, so nothing else in the process changes.
constexpr WORD kCommonControlsManifest = IDR_COMMON_CONTROLS_MANIFEST;
constexpr UINT kBusyIntervalMs = 30;

using TInitCommonControlsEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// Made once; the system frees it with the process.
HANDLE CommonControlsContext() {
    static const HANDLE context = [] {
        wchar_t path[MAX_PATH] = {};
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        request.hModule = GetModuleHandleW(nullptr);
        request.lpResourceName = MAKEINTRESOURCEW(kCommonControlsManifest);
        request.lpSource = GetModuleFileNameW(nullptr, path, MAX_PATH) ? path : nullptr;
        return CreateActCtxW(&request);
    }();
    return context;
}

} // namespace

TProgressBar::TProgressBar(TComponent* owner) : TControl(owner) {
    SetVisible(false);
}

void TProgressBar::Make(bool busy) {
    TControl* form = Parent();
    if (!form || !form->Handle()) return;
    if (window_) {
        HWND old = window_;
        HandleDestroyed();
        DestroyWindow(old);
    }
    const HANDLE context = CommonControlsContext();
    ULONG_PTR cookie = 0;
    const bool activated = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
    // Loaded once, by name from the system folder only (the DLL search is restricted at start-up);
    // in the context above the loader picks version 6, which registers its classes in it.
    static const bool classesRegistered = [] {
        const HMODULE library = LoadLibraryW(L"comctl32.dll");
        const auto init = library ? reinterpret_cast<TInitCommonControlsEx>(
                                        GetProcAddress(library, "InitCommonControlsEx"))
                                  : nullptr;
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        return init && init(&classes);
    }();
    (void)classesRegistered;
    const RECT r = ScreenBounds();
    HWND window = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | (busy ? PBS_MARQUEE : 0), r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, form->Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    const DWORD error = GetLastError();
    if (activated) DeactivateActCtx(0, cookie);
    if (!window) throw Exception(Concat({"CreateWindowExW a échoué (", std::to_string(error), ")"}));
    Attach(window);
    busy_ = busy;
    position_ = -1;
}

void TProgressBar::ShowPosition(int position, int range) {
    if (!window_ || busy_) Make(false);
    if (!window_) return;
    if (range != range_) SendMessageW(window_, PBM_SETRANGE32, 0, range);
    const bool changed = position != position_ || range != range_;
    range_ = range;
    position_ = position;
    SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    if (changed) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
    SetVisible(true);
}

void TProgressBar::ShowBusy() {
    if (window_ && busy_ && Visible()) return;
    if (!window_ || !busy_) Make(true);
    if (!window_) return;
    SendMessageW(window_, PBM_SETMARQUEE, TRUE, kBusyIntervalMs);
    range_ = 0;
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
    SetVisible(true);
}

void TProgressBar::Hide() {
    SetVisible(false);
}

} // namespace attente
