// The status window's own code in-process: what FormCreate leaves behind, the posted notification, and
// the border drawn through the same paint routine that WM_PRINTCLIENT reaches.
#include "Form1.h"
#include "FormResources.h"
#include "LanguageValues.h"
#include "Rendering.h"
#include "ResourceSource.h"
#include "Screen.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

class StatusWindowCode : public ::testing::Test {
  protected:
    void SetUp() override {
        InitModuleRecord(GetModuleHandleA(nullptr));
        CurrentLanguage = "FRA";
    }
    void TearDown() override {
        ClearLanguageValues();
        ReleaseModuleRecord();
        EXPECT_EQ(Screen.FormCount(), 0);
    }
};

} // namespace

TEST_F(StatusWindowCode, NotificationIsPostedNotSentAndCarriesItsExactParameters) {
    auto form = CreateForm<TForm1>();
    // FormCreate has run to its end: the text is in place...
    EXPECT_EQ(form->LabWait->Caption(), L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...");
    // ...and the notification waits in the queue, unhandled, for the message loop.
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, form->Handle(), 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE));
    EXPECT_EQ(message.message, 1025u);
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_EQ(message.lParam, 0);
    EXPECT_FALSE(PeekMessageW(&message, form->Handle(), 1025, 1025, PM_REMOVE)) << "posted twice";
}

TEST_F(StatusWindowCode, ResourcesThatDoNotNameTheirLanguageShowTheClockInstead) {
    CurrentLanguage.clear();
    auto form = CreateForm<TForm1>();
    EXPECT_FALSE(form->LabWait->Visible());
    EXPECT_TRUE(form->clock->Visible());
}

TEST_F(StatusWindowCode, EveryPrintDrawsTheOutlineAndBothBevelRings) {
    auto form = CreateForm<TForm1>();
    RECT client{};
    GetClientRect(form->Handle(), &client);
    const int right = client.right - 1, bottom = client.bottom - 1;
    for (int print = 0; print < 2; ++print) {
        SCOPED_TRACE(print);
        TRendering rendering(client.right, client.bottom);
        rendering.PrintClient(form->Handle());
        EXPECT_EQ(rendering.Count(RGB(0, 0, 0), 0, 0, client.right, 1), client.right);
        EXPECT_EQ(rendering.Count(RGB(0, 0, 0), 0, bottom, client.right, bottom + 1), client.right);
        EXPECT_EQ(rendering.Pixel(1, 1), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(rendering.Pixel(2, 2), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(rendering.Pixel(right - 1, 1), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(1, bottom - 1), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(right - 2, 2), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(2, bottom - 2), RGB(0x80, 0x80, 0x80));
        // The status text is drawn inside the bevel.
        EXPECT_GT(rendering.CountOther(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE), 3, 15, right - 3, 57), 0);
    }
}

TEST_F(StatusWindowCode, CloseFromOutsideDestroysTheWindow) {
    auto form = CreateForm<TForm1>();
    const HWND window = form->Handle();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}
