// Forms: real top-level windows read from window descriptions. A concrete window class derives from
// TForm, declares its class-chain entry and publishes its event routines and components by name:
//
//     class TForm1 : public attente::TForm {
//         ATTENTE_FORM_CLASS(TForm1, attente::TForm)
//     public:
//         explicit TForm1(attente::TComponent* owner) : TForm(owner) {
//             PublishMethod("FormCreate", &TForm1::FormCreate);
//             PublishMethod("FormPaint", &TForm1::FormPaint);
//             PublishComponent("LabWait", LabWait);
//             PublishComponent("clock", clock);
//         }
//         void FormCreate(attente::TComponent& sender);
//         void FormPaint(attente::TComponent& sender); // draws on Canvas(), within ClientRect()
//         attente::TLabel* LabWait = nullptr;
//         attente::TImage* clock = nullptr;
//     protected:
//         bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override; // optional
//     };
//
// and is created with CreateForm<TForm1>() (localisation/FormResources.h), which reads the
// descriptions of every class level into it and then runs OnCreate.
#pragma once

#include "Color.h"
#include "Control.h"
#include "Font.h"

#include <windows.h>

#include <string>

namespace attente {

enum class TBorderStyle { None, Single, Sizeable, Dialog };
enum class TPosition { Designed, ScreenCenter };
// Reading order of the form's texts. Right to left changes how labels read and align, never the
// layout: the window is not mirrored, so hand-drawn borders keep their light and shadow sides.
enum class TBiDiMode { LeftToRight, RightToLeft };

// Title-bar buttons; they show only with a border style that has a title bar.
struct TBorderIcons {
    bool SystemMenu = true;
    bool Minimize = true;
    bool Maximize = true;
    bool operator==(const TBorderIcons&) const = default;
};

class TForm : public TControl {
  public:
    static constexpr TClassInfo StaticClassInfo{"TForm", &TControl::StaticClassInfo, nullptr, nullptr};
    const TClassInfo& ClassInfo() const override { return StaticClassInfo; }

    // Appended to the screen list here, removed in the destructor. The window is made on first use of
    // Handle() (CreateForm makes it before reading the descriptions) and starts hidden.
    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position);
    // The client area at 96 dpi; the window's outer size follows from it and the border style.
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    // Changes apply at once; labels with ParentFont follow.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }

    // Visible = true in a description takes effect after OnCreate; in code at once.
    void SetVisible(bool visible) override;
    void Show();
    void Hide();
    // What WM_CLOSE does: runs OnClose when bound, otherwise hides the form.
    void Close();

    // The client rectangle in screen pixels.
    RECT ClientRect();
    // The device context being painted, for OnPaint; null outside painting. The form's font and text
    // colour are selected into it.
    HDC Canvas() const { return canvas_; }
    // The one paint routine behind WM_PAINT and WM_PRINTCLIENT: background, then OnPaint. (For
    // WM_PRINTCLIENT with PRF_CHILDREN the visible child controls are drawn over it at their places.)
    void PaintTo(HDC dc) override;

    // Runs OnCreate; CreateForm calls it once all description levels are read, then shows the form
    // when a description made it visible.
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnPaint;
    TNotifyEvent OnClose;

    bool IsContainer() const override { return true; }
    void SetBounds(int left, int top, int width, int height) override;
    // Caption, BorderStyle, BorderIcons, Position, ClientWidth, ClientHeight, Color, BiDiMode, Font.*,
    // and the control properties.
    bool SetProperty(std::string_view name, const TValue& value) override;
    // OnCreate, OnPaint, OnClose.
    TNotifyEvent* EventProperty(std::string_view name) override;

  protected:
    // First look at every message of the form's window; return true with `result` set to handle it.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void CreateHandle() override;

  private:
    friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    DWORD WindowStyle() const;
    DWORD WindowExStyle() const;
    // Outer bounds from the client size, the border style and the position rule.
    void UpdateWindowBounds();
    // The frame of the current border style, at 96 dpi.
    SIZE FrameDesignSize() const;
    // Left/Top/Width/Height of the control follow the client size.
    void SyncOuterSize();
    void FontChanged();
    void PrintChildren(HDC dc);

    std::wstring caption_;
    TBorderStyle borderStyle_ = TBorderStyle::Sizeable;
    TBorderIcons borderIcons_;
    TPosition position_ = TPosition::Designed;
    TBiDiMode biDiMode_ = TBiDiMode::LeftToRight;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    TColor color_ = TColor::System(COLOR_BTNFACE);
    TFont font_;
    HDC canvas_ = nullptr;
    bool created_ = false; // DoCreate has run
    bool showAfterCreate_ = false;
    bool applyingBounds_ = false;
};

} // namespace attente
