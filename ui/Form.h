// Forms: borderless top-level windows read from window descriptions. A concrete window class derives
// from TForm, declares its class-chain entry and publishes its event routines by name:
//
//     class TForm1 : public attente::TForm {
//         ATTENTE_CLASS(TForm1, attente::TForm)
//     public:
//         explicit TForm1(attente::TComponent* owner) : TForm(owner) {
//             PublishMethod("FormCreate", &TForm1::FormCreate);
//         }
//         void FormCreate(attente::TComponent& sender);
//     };
//
// and is created with CreateForm<TForm1>() (localisation/FormResources.h), which reads the
// descriptions of every class level into it, makes its windows and then runs OnCreate.
#pragma once

#include "Color.h"
#include "Control.h"
#include "Font.h"

#include <windows.h>

#include <string>

namespace attente {

// Reading order of the form's texts. Right to left changes how labels read, never the layout: the
// window is not mirrored, so hand-drawn borders keep their light and shadow sides.
enum class TBiDiMode { LeftToRight, RightToLeft };

class TForm : public TControl {
    ATTENTE_CLASS(TForm, TControl)
  public:
    // On the screen list from here to the destructor; hidden, and without a window until CreateHandle.
    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    // The client area at 96 dpi; the window has no frame, so it is the window's size.
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    TColor Color() const { return color_; }
    TBiDiMode BiDiMode() const { return biDiMode_; }
    TFont& Font() { return font_; }

    // Shows the window as `showCommand` asks (ShowWindow's commands) and paints it at once.
    void Show(int showCommand = SW_SHOWNORMAL);

    // Before the window is made: the screen rectangle a centred form is centred on, kept inside
    // `within` (default: the primary screen, unbounded), and the window's extended styles.
    void SetPlacement(const RECT& area, const RECT& within);
    void SetExStyle(DWORD exStyle) { exStyle_ = exStyle; }
    // Pixels at 96 dpi the window has below its client height (room for what a form shows only at
    // times); the window keeps its top-left corner.
    void SetExtraHeight(int designPixels);

    // The client rectangle in screen pixels.
    RECT ClientRect() const;
    // The device context being painted, for OnPaint; null outside painting. The form's font and text
    // colour are selected into it.
    HDC Canvas() const { return canvas_; }
    // The one paint routine behind WM_PAINT and WM_PRINTCLIENT: background, then OnPaint.
    void PaintTo(HDC dc) override;

    // Runs OnCreate; window creation calls it once all description levels are read.
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnPaint;
    // Not a description event: whoever owns the form learns that its window is gone.
    TNotifyEvent OnDestroy;

    void CreateHandle() override;
    void SetBounds(int left, int top, int width, int height) override;
    // Caption, BorderStyle (none), BorderIcons ([]), Position (screenCenter), ClientWidth,
    // ClientHeight, Color, BiDiMode, Font.*, and the control properties.
    bool SetProperty(std::string_view name, const TValue& value) override;
    // OnCreate, OnPaint.
    TNotifyEvent* EventProperty(std::string_view name) override;

  protected:
    // First look at every message of the form's window; return true with `result` set to handle it.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's rectangle: its bounds, or centred on the placement area; a live centred window
    // keeps its top-left corner, so a reload never moves it.
    RECT WindowBounds() const;
    void PlaceWindow();
    void Invalidate();

    std::wstring caption_;
    bool centred_ = false;
    RECT area_{};
    RECT within_{};
    DWORD exStyle_ = 0;
    int extraHeight_ = 0;
    TBiDiMode biDiMode_ = TBiDiMode::LeftToRight;
    TColor color_ = TColor::System(COLOR_BTNFACE);
    TFont font_;
    HDC canvas_ = nullptr;
};

} // namespace attente
