// The built-in TFORM1 description, compiled from resources/Form1.form, read into a form class of that
// name: every property of the status window's layout, and its reload from the German module.
#include "Dpi.h"
#include "Form1Layout.h"
#include "Image.h"
#include "Rendering.h"
#include "TestForms.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

// Stands in for the program's status window class: same name, same published routines and parts.
class TForm1 : public TForm {
    ATTENTE_CLASS(TForm1, TForm)
  public:
    explicit TForm1(TComponent* owner) : TForm(owner) {
        PublishMethod("FormCreate", &TForm1::FormCreate);
        PublishMethod("FormPaint", &TForm1::FormPaint);
    }
    void FormCreate(TComponent&) { LabWait()->SetCaption(LoadResStringW(kStatusTextString)); }
    void FormPaint(TComponent&) { ++Paints; }
    TLabel* LabWait() const { return dynamic_cast<TLabel*>(FindComponent("LabWait")); }
    TImage* clock() const { return dynamic_cast<TImage*>(FindComponent("clock")); }
    int Paints = 0;
};

using StatusForm = TDescriptionTest;

constexpr COLORREF kNavy = RGB(0, 0, 128);

} // namespace

TEST_F(StatusForm, BuiltInDescriptionGivesTheLayout) {
    auto form = CreateForm<TForm1>();
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Caption(), L"Form1");
    EXPECT_EQ(form->ClientWidth(), kForm1_ClientWidth);
    EXPECT_EQ(form->ClientHeight(), kForm1_ClientHeight);
    EXPECT_EQ(form->Color().Resolve(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(form->Font().Name(), L"ms sans serif");
    EXPECT_EQ(form->Font().Height(), kForm1_Font_Height);
    EXPECT_EQ(form->Font().Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(form->Font().Color().Resolve(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_TRUE(form->OnCreate);
    EXPECT_TRUE(form->OnPaint);
    const HWND window = form->Handle();
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, ScaleToScreen(kForm1_ClientWidth));
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - ScaleToScreen(kForm1_ClientWidth)) / 2);

    ASSERT_NE(form->LabWait(), nullptr);
    const TLabel& label = *form->LabWait();
    EXPECT_EQ((std::array{label.Left(), label.Top(), label.Width(), label.Height()}),
              (std::array<int, 4>{kForm1_LabWait_Left, kForm1_LabWait_Top, kForm1_LabWait_Width,
                                  kForm1_LabWait_Height}));
    EXPECT_EQ(label.DrawFlags() & (DT_CENTER | DT_WORDBREAK), static_cast<UINT>(DT_CENTER | DT_WORDBREAK));
    EXPECT_EQ(form->LabWait()->Font().Height(), kForm1_LabWait_Font_Height);
    EXPECT_EQ(form->LabWait()->Font().Name(), L"ms sans serif");
    EXPECT_TRUE(label.Visible());
    // FormCreate ran after the description and replaced "Label" with the status text.
    EXPECT_EQ(label.Caption(), L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...");

    ASSERT_NE(form->clock(), nullptr);
    const TImage& clock = *form->clock();
    EXPECT_EQ(
        (std::array{clock.Left(), clock.Top(), clock.Width(), clock.Height()}),
        (std::array<int, 4>{kForm1_clock_Left, kForm1_clock_Top, kForm1_clock_Width, kForm1_clock_Height}));
    EXPECT_NE(clock.Icon(), nullptr);
    EXPECT_FALSE(clock.Visible());
    EXPECT_FALSE(GetWindowLongW(form->clock()->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(StatusForm, RendersTheTextAndTheClockWhenShown) {
    auto form = CreateForm<TForm1>();
    const RECT client = form->ClientRect();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT clockRect{ScaleToScreen(kForm1_clock_Left), ScaleToScreen(kForm1_clock_Top),
                         ScaleToScreen(kForm1_clock_Left + kForm1_clock_Width),
                         ScaleToScreen(kForm1_clock_Top + kForm1_clock_Height)};
    {
        TRendering image(client.right, client.bottom);
        image.Capture(form->Handle());
        EXPECT_GE(form->Paints, 1);
        EXPECT_EQ(image.Count(kNavy, 0, 0, client.right, client.bottom), 0);
        EXPECT_GT(image.CountOther(face, face, kForm1_LabWait_Left, ScaleToScreen(kForm1_LabWait_Top),
                                   ScaleToScreen(kForm1_LabWait_Width),
                                   ScaleToScreen(kForm1_LabWait_Top + kForm1_LabWait_Height)),
                  50);
    }
    form->LabWait()->SetVisible(false);
    form->clock()->SetVisible(true);
    TRendering image(client.right, client.bottom);
    image.Capture(form->Handle());
    // The clock's navy rim, inside the picture only; the label's text gone.
    EXPECT_GT(image.Count(kNavy, clockRect.left, clockRect.top, clockRect.right, clockRect.bottom), 40);
    EXPECT_EQ(image.Count(kNavy, 0, 0, clockRect.left, client.bottom), 0);
    EXPECT_EQ(image.CountOther(face, face, 0, 0, clockRect.left, client.bottom), 0);
}

TEST_F(StatusForm, ReloadFromTheGermanModuleIsOneLevelAndOverwritesListedCaptions) {
    auto form = CreateForm<TForm1>();
    const HWND label = form->LabWait()->Handle();
    Install(std::string(getenv("ATTENTE_DIST_DIR")) + "/attente.DE");
    EXPECT_TRUE(ReloadFormLevels(*form, TForm::StaticClassInfo));
    // The description lists LabWait's caption, so the text FormCreate set gives way to it.
    EXPECT_EQ(form->LabWait()->Caption(), L"Label");
    EXPECT_EQ(form->LabWait()->Handle(), label);
    EXPECT_FALSE(form->clock()->Visible());
}
