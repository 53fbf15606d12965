// The status window: a borderless panel with the status text (or the clock when the resources do not
// name their language), its border, and the job it follows once it is up.
#pragma once

#include "Form.h"
#include "Handles.h"
#include "Image.h"
#include "Label.h"
#include "ProgressBar.h"
#include "Relay.h"

#include <windows.h>

#include <string>

namespace attente {

// Posted by the window to itself at the end of its creation.
constexpr UINT kStartNotification = WM_USER + 1;
constexpr WPARAM kStartNotificationWParam = 1;
constexpr LPARAM kStartNotificationLParam = 0;

class TForm1 : public TForm {
    ATTENTE_CLASS(TForm1, TForm)
  public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    void FormCreate(TComponent& sender);
    void FormPaint(TComponent& sender);

    // The components of those names that the descriptions made, or null.
    TLabel* LabWait() const { return FindComponentAs<TLabel>("LabWait"); }
    TImage* clock() const { return FindComponentAs<TImage>("clock"); }
    TProgressBar* Progress() const { return FindComponentAs<TProgressBar>("Progress"); }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    // The status text (a relayed one, else the module's) or the clock when the texts do not name
    // their language.
    void ShowTexts();
    // The progress asked for, and the room the window gives it while it shows.
    void ShowProgress();
    // The reply to WM_COPYDATA: TRUE, or kReplyModuleUnusable with nothing changed.
    LRESULT CarryOut(const TRelayRequest& request);

    void StartJob();
    void StopWatching();
    void Finish(UINT exitCode);

    TKernelHandle command_;
    TKernelHandle parent_;
    HWND installer_ = nullptr; // the starter's window this one sits over
    bool started_ = false;
    std::wstring relayedStatus_;
    TProgress progress_;
    std::wstring idMark_; // the /ID= mark its window carries, or empty
};

} // namespace attente
