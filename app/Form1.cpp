// The status window's code: status text, clock, border, and the /RUN command or parent it follows.
#include "Form1.h"

#include "AnsiText.h"
#include "Application.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "InstallerWindow.h"
#include "LanguageValues.h"
#include "ResolveLanguage.h"
#include "ResourceSource.h"
#include "StatusJob.h"
#include "SwitchNames.h"
#include "TextFormat.h"
#include "UiHandles.h"
#include "WindowMarks.h"

#include <algorithm>

namespace attente {

namespace {

// Posted by the message loop when a followed process ends.
constexpr UINT kCommandEndedMessage = WM_APP + 1;
constexpr UINT kParentEndedMessage = WM_APP + 2;

constexpr COLORREF kBevelLight = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBevelShadow = RGB(0x80, 0x80, 0x80);
constexpr int kBevelRings = 2;

// One ring of the bevel: light from bottom-left up and across, shadow down and back. Polylines leave
// out their last point, so the top-right and bottom-left corners end up in the shadow colour.
void DrawRing(HDC dc, const RECT& r, HGDIOBJ lightPen, HGDIOBJ shadowPen) {
    {
        const TSelectScope pen(dc, lightPen);
        const POINT light[] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
        Polyline(dc, light, 3);
    }
    const TSelectScope pen(dc, shadowPen);
    const POINT shadow[] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    Polyline(dc, shadow, 3);
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    PublishMethod("FormCreate", &TForm1::FormCreate);
    PublishMethod("FormPaint", &TForm1::FormPaint);
    // Known before the window is made, so that it is made once, at its place: over the installer.
    parent_ = OpenParentProcess();
    const TPlacement placement = FindPlacement(parent_ ? GetProcessId(parent_.Get()) : 0);
    installer_ = placement.Installer;
    SetPlacement(placement.Area, placement.Within);
    // Never activated, by its start, a request or a click: the installer keeps the keyboard.
    SetExStyle(WS_EX_NOACTIVATE | WS_EX_APPWINDOW | (Switches.HasFlag(kTopmostSwitch) ? WS_EX_TOPMOST : 0));
}

TForm1::~TForm1() {
    StopWatching();
    StopKeepingAbove(Handle());
}

void TForm1::FormCreate(TComponent&) {
    // A start that opens this window may give its first status text and progress (checked already).
    const TSwitchList switches = WideSwitches();
    if (const auto status = StartValue(switches, RequestInfo(TRequestKind::Status)))
        relayedStatus_ = Utf8ToWide(*status);
    if (const auto progress = StartValue(switches, RequestInfo(TRequestKind::Progress)))
        progress_ = ParseProgress(*progress).value_or(TProgress{});
    ShowTexts();
    ShowProgress();
    PostMessageA(Handle(), kStartNotification, kStartNotificationWParam, kStartNotificationLParam);
}

void TForm1::ShowProgress() {
    TProgressBar* bar = Progress();
    if (!bar) return;
    if (progress_.Mode == TProgress::Hidden) {
        bar->Hide();
        SetExtraHeight(0);
        return;
    }
    // Under the bar the room the window leaves under the label.
    const TLabel* label = LabWait();
    const int belowLabel = label ? ClientHeight() - label->Top() - label->Height() : 0;
    SetExtraHeight(std::max(0, bar->Top() + bar->Height() + belowLabel - ClientHeight()));
    if (progress_.Mode == TProgress::Busy)
        bar->ShowBusy();
    else
        bar->ShowPosition(progress_.Position, progress_.Range);
}

void TForm1::ShowTexts() {
    const bool clockInstead = relayedStatus_.empty() && CurrentLanguage.empty();
    if (TLabel* label = LabWait()) {
        label->SetCaption(relayedStatus_.empty() ? LoadResStringW(kStatusTextString) : relayedStatus_);
        label->SetVisible(!clockInstead);
    }
    if (TImage* picture = clock()) picture->SetVisible(clockInstead);
}

// The label is held across the reload and the new texts, so that its window text changes once, to
// the final text, and the window repaints once, after the request, at its place and size.
LRESULT TForm1::CarryOut(const TRelayRequest& request) {
    TLabel* label = LabWait();
    if (label) label->BeginLoading();
    bool usable = true;
    try {
        switch (request.Kind) {
        case TRequestKind::Language: {
            const std::string previous = RequestedLanguage;
            RequestedLanguage = WideToAnsi(request.Text);
            usable = SwitchToRequestedLanguage();
            if (!usable) RequestedLanguage = previous;
            break;
        }
        case TRequestKind::Status:
            relayedStatus_ = request.Text;
            break;
        case TRequestKind::Progress:
            progress_ = ParseProgress(WideToUtf8(request.Text)).value_or(progress_);
            break;
        case TRequestKind::Close:
            break;
        }
        if (usable) {
            ShowTexts();
            ShowProgress();
        }
    } catch (...) {
        if (label) label->AbortLoading();
        throw;
    }
    if (label) label->EndLoading();
    return usable ? kReplyCarriedOut : kReplyModuleUnusable;
}

void TForm1::FormPaint(TComponent&) {
    HDC dc = Canvas();
    if (!dc) return;
    RECT r = ClientRect();
    {
        const TSelectScope brush(dc, GetStockObject(NULL_BRUSH));
        const TSelectScope pen(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    InflateRect(&r, -1, -1);
    const TGdiObject lightPen(CreatePen(PS_SOLID, 1, kBevelLight));
    const TGdiObject shadowPen(CreatePen(PS_SOLID, 1, kBevelShadow));
    --r.right;
    --r.bottom;
    for (int ring = 0; ring < kBevelRings; ++ring) {
        if (ring > 0) InflateRect(&r, -1, -1);
        DrawRing(dc, r, lightPen.Get(), shadowPen.Get());
    }
}

bool TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kStartNotification:
        if (wParam != kStartNotificationWParam || lParam != kStartNotificationLParam) return false;
        result = 0;
        StartJob();
        return true;
    case kCommandEndedMessage:
        result = 0;
        Finish(command_ ? ExitCodeOf(command_.Get()) : 0);
        return true;
    case WM_COPYDATA: {
        const std::optional<TRelayRequest> request =
            ReadRelayRequest(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        result = request ? CarryOut(*request) : 0;
        return true;
    }
    case WM_CLOSE:
        result = 0;
        // The job goes on: the window goes, and the program ends with the job's own exit code.
        if (command_ && WaitForSingleObject(command_.Get(), 0) == WAIT_TIMEOUT) {
            RemovePropW(Handle(), kReadyMark);
            SetPropW(Handle(), kClosedMark, Handle());
            StopKeepingAbove(Handle());
            ShowWindow(Handle(), SW_HIDE);
        } else {
            Finish(0);
        }
        return true;
    case kParentEndedMessage:
        result = 0;
        Finish(0);
        return true;
    case WM_DESTROY:
        // Marks named by strings are atoms: removed before the window goes, as the system asks.
        for (const wchar_t* mark : {kReadyMark, kClosedMark, kStarterMark})
            RemovePropW(Handle(), mark);
        if (!idMark_.empty()) RemovePropW(Handle(), idMark_.c_str());
        return false;
    default:
        return TForm::HandleMessage(message, wParam, lParam, result);
    }
}

void TForm1::StartJob() {
    if (started_) return;
    started_ = true;
    // Announce the text to screen readers now that the window is up.
    if (const TLabel* label = LabWait(); label && label->Visible())
        NotifyWinEvent(EVENT_SYSTEM_ALERT, label->Handle(), OBJID_CLIENT, CHILDID_SELF);

    // From now on requests reach it: who started it and the name it was given tell relaying starts
    // whether it is their installer's.
    const TSwitchList switches = WideSwitches();
    SetPropW(Handle(), kStarterMark,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(parent_ ? GetProcessId(parent_.Get()) : 0)));
    if (switches.Has(kIdSwitch)) {
        idMark_ = IdMark(Utf8ToWide(switches.RawValue(kIdSwitch)));
        SetPropW(Handle(), idMark_.c_str(), Handle());
    }
    SetPropW(Handle(), kReadyMark, Handle());
    if (!Switches.HasFlag(kTopmostSwitch) && !Switches.HasFlag(kHiddenSwitch)) KeepAbove(Handle(), installer_);
    // Watched first, so that the end of the starter also closes a box about the command.
    if (parent_ && Application) Application->Watch(parent_.Get(), Handle(), kParentEndedMessage);
    const std::wstring command = Utf8ToWide(switches.RawValue(kRunSwitch));
    if (!command.empty()) {
        try {
            command_ = StartCommand(command);
        } catch (const std::exception& failure) {
            if (Application) Application->ShowException(failure);
            Finish(kRunCommandFailedExitCode);
            return;
        }
        if (Application) Application->Watch(command_.Get(), Handle(), kCommandEndedMessage);
    }
}

void TForm1::StopWatching() {
    if (!Application) return;
    for (HANDLE process : {command_.Get(), parent_.Get()})
        if (process) Application->StopWatching(process);
}

void TForm1::Finish(UINT exitCode) {
    StopWatching();
    StopKeepingAbove(Handle());
    if (Application && Application->MainForm() == this)
        Application->Terminate(static_cast<int>(exitCode));
    else
        DestroyWindow(Handle());
}

} // namespace attente
