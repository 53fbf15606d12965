// The status window's own code in-process: what FormCreate leaves behind, the posted notification, the
// border on every paint, and a language switch reaching shown windows through the real message loop.
#include "Application.h"
#include "Dpi.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "FormResources.h"
#include "LanguageValues.h"
#include "Rendering.h"
#include "ResourceSource.h"
#include "Screen.h"
#include "TextFormat.h"
#include "UiHandles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace attente;
using namespace attente::test;

namespace {

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kStepDelayMs = 50;

// A second status window class, derived from the first and without a description of its own, whose
// timer runs the test's steps inside the application's message loop. Timer messages come after the
// paints that are due, so each step sees what the loop has painted.
class TForm2 : public TForm1 {
    ATTENTE_CLASS(TForm2, TForm1)
  public:
    explicit TForm2(TComponent* owner) : TForm1(owner) {}
    std::function<void()> Step;
    void NextStep(std::function<void()> step) {
        Step = std::move(step);
        SetTimer(Handle(), kStepTimer, kStepDelayMs, nullptr);
    }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message != WM_TIMER || wParam != kStepTimer)
            return TForm1::HandleMessage(message, wParam, lParam, result);
        KillTimer(Handle(), kStepTimer);
        if (auto step = std::move(Step)) step();
        result = 0;
        return true;
    }
};

BOOL CALLBACK CountForm1Windows(HWND window, LPARAM count) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"TForm1") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

bool SamePixels(const TRendering& a, const TRendering& b, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

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
    EXPECT_EQ(form->LabWait()->Caption(), L"Mise \u00e0 jour des informations\r\n\r\nVeuillez patienter...");
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
    EXPECT_FALSE(form->LabWait()->Visible());
    EXPECT_TRUE(form->clock()->Visible());
}

TEST_F(StatusWindowCode, EveryPaintDrawsTheOutlineAndBothBevelRings) {
    auto form = CreateForm<TForm1>();
    RECT client{};
    GetClientRect(form->Handle(), &client);
    const int right = client.right - 1, bottom = client.bottom - 1;
    for (int print = 0; print < 2; ++print) {
        SCOPED_TRACE(print);
        TRendering rendering(client.right, client.bottom);
        rendering.Capture(form->Handle());
        EXPECT_EQ(rendering.Count(RGB(0, 0, 0), 0, 0, client.right, 1), client.right);
        EXPECT_EQ(rendering.Count(RGB(0, 0, 0), 0, bottom, client.right, bottom + 1), client.right);
        EXPECT_EQ(rendering.Pixel(1, 1), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(rendering.Pixel(2, 2), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(rendering.Pixel(right - 1, 1), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(1, bottom - 1), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(right - 2, 2), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(rendering.Pixel(2, bottom - 2), RGB(0x80, 0x80, 0x80));
        // The status text is drawn inside the bevel.
        EXPECT_GT(rendering.CountOther(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE), 3,
                                       kForm1_LabWait_Top, right - 3,
                                       kForm1_LabWait_Top + kForm1_LabWait_Height),
                  0);
    }
}

TEST_F(StatusWindowCode, CloseFromOutsideDestroysTheWindow) {
    auto form = CreateForm<TForm1>();
    const HWND window = form->Handle();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(StatusWindowCode, SwitchWhileShownReloadsBothWindowsInPlaceThroughTheLoop) {
    TApplication application;
    application.SetMainForm(CreateForm<TForm1>());
    TForm& main = *application.MainForm();
    auto second = CreateForm<TForm2>();
    const HWND mainWindow = main.Handle();
    const HWND secondWindow = second->Handle();
    // Above other processes' windows, so the screen shows what this window painted.
    SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    second->Show();
    SetActiveWindow(secondWindow); // focused; Run shows the main window without taking the activation

    RECT client{};
    GetClientRect(mainWindow, &client);
    const RECT labelArea{3, ScaleToScreen(kForm1_LabWait_Top), client.right - 3,
                         ScaleToScreen(kForm1_LabWait_Top + kForm1_LabWait_Height)};
    TRendering before(client.right, client.bottom), after(client.right, client.bottom);
    int steps = 0;
    second->NextStep([&] {
        ++steps;
        EXPECT_TRUE(IsWindowVisible(mainWindow));
        EXPECT_EQ(Screen.FormCount(), 2);
        EXPECT_EQ(Screen.Forms(0), second.get()); // the focus order
        EXPECT_EQ(Screen.Forms(1), &main);
        before.CopyFromScreen(mainWindow);

        HMODULE german = LoadLibraryExA((std::string(getenv("ATTENTE_DIST_DIR")) + "/attente.DE").c_str(),
                                        nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(german, nullptr);
        InstallResourceModule(german);
        ReloadAllForms();

        for (TForm1* form : {static_cast<TForm1*>(&main), static_cast<TForm1*>(second.get())}) {
            EXPECT_TRUE(IsWindowVisible(form->Handle()));
            // The German description lists LabWait's caption: it replaces the status text in place.
            EXPECT_EQ(form->LabWait()->Caption(), L"Label");
        }
        EXPECT_EQ(main.Handle(), mainWindow);
        EXPECT_EQ(second->Handle(), secondWindow);
        EXPECT_EQ(Screen.Forms(0), second.get());
        second->NextStep([&] {
            ++steps;
            after.CopyFromScreen(mainWindow);
            EXPECT_TRUE(IsWindowVisible(mainWindow));
            EXPECT_TRUE(IsWindowVisible(secondWindow));
            EXPECT_FALSE(SamePixels(before, after, labelArea)) << "the label was not repainted";
            EXPECT_EQ(after.Pixel(0, 0), RGB(0, 0, 0));
            EXPECT_EQ(after.Pixel(client.right - 1, client.bottom - 1), RGB(0, 0, 0));
            EXPECT_EQ(after.Pixel(1, 1), RGB(0xFF, 0xFF, 0xFF));
            EXPECT_EQ(after.Pixel(2, client.bottom - 3), RGB(0x80, 0x80, 0x80));
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        });
    });

    EXPECT_EQ(application.Run(SW_SHOWNORMAL), 0);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(main.Handle(), nullptr);
    int form1Windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountForm1Windows, reinterpret_cast<LPARAM>(&form1Windows));
    EXPECT_EQ(form1Windows, 0);
}

// Any program may send WM_COPYDATA: only the documented shapes change the window, the rest is refused.
TEST_F(StatusWindowCode, CopyDataOutsideTheDocumentedShapesIsRefusedAndChangesNothing) {
    auto form = CreateForm<TForm1>();
    const std::wstring before = form->LabWait()->Caption();
    const std::wstring longStatus(kMaxStatusRequestUnits + 1, L'x');
    wchar_t withZero[] = L"ab\0cd";
    wchar_t odd[] = L"abc";
    struct {
        const char* name;
        ULONG_PTR kind;
        DWORD bytes;
        const void* data;
    } const refused[] = {
        {"unknown kind", kStatusRequest + 1, 4, L"ab"},
        {"odd size", kStatusRequest, 5, odd},
        {"size without data", kStatusRequest, 4, nullptr},
        {"zero inside", kStatusRequest, 10, withZero},
        {"status too long", kStatusRequest, static_cast<DWORD>(longStatus.size() * 2), longStatus.data()},
        {"language too long", kLanguageRequest, static_cast<DWORD>(longStatus.size() * 2), longStatus.data()},
        {"progress out of range", kProgressRequest, 6, L"101"},
        {"progress malformed", kProgressRequest, 8, L"3/2/"},
    };
    for (const auto& c : refused) {
        COPYDATASTRUCT data{c.kind, c.bytes, const_cast<void*>(c.data)};
        EXPECT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE)
            << c.name;
        EXPECT_EQ(form->LabWait()->Caption(), before) << c.name;
    }
    EXPECT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, 0), FALSE);

    // The longest status text, with the tolerated terminating zero, is taken whole.
    const std::wstring longest(kMaxStatusRequestUnits, L'y');
    COPYDATASTRUCT data{kStatusRequest, static_cast<DWORD>((longest.size() + 1) * 2),
                        const_cast<wchar_t*>(longest.c_str())};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_EQ(form->LabWait()->Caption(), longest);
    // An empty status gives the module's text back.
    data = {kStatusRequest, 0, nullptr};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_EQ(form->LabWait()->Caption(), before);
}

namespace {

int gLabelDraws = 0;
HWND gTracedLabel = nullptr;
// The label's window text (what screen readers read) at each of its draws.
std::vector<std::wstring> gTextsDrawn;

LRESULT CALLBACK TraceDraws(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_DRAWITEM &&
        reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam)->hwndItem == gTracedLabel) {
        ++gLabelDraws;
        wchar_t text[256] = {};
        GetWindowTextW(gTracedLabel, text, 256);
        gTextsDrawn.push_back(text);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

// A request changes nothing on the screen while it is carried out; the next paint draws the label
// once, with the final text, which is the window text that screen readers read by then (a switch
// reloads the description, whose placeholder caption never reaches the screen).
TEST_F(StatusWindowCode, EachRequestPaintsTheLabelOnceWithItsFinalText) {
    auto form = CreateForm<TForm1>();
    form->Show();
    PumpPending();
    gTracedLabel = form->LabWait()->Handle();
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, TraceDraws, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const std::wstring french = form->LabWait()->Caption();
    struct {
        const char* name;
        ULONG_PTR kind;
        std::wstring text;
        std::wstring shown;
    } const rows[] = {
        {"status", kStatusRequest, L"\u00c9tape 2 sur 5", L"\u00c9tape 2 sur 5"},
        {"back to the module's text", kStatusRequest, L"", french},
        // No module beside the test program: the chain ends at its own resources, read anew.
        {"switch", kLanguageRequest, L"ENU", french},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        gLabelDraws = 0;
        gTextsDrawn.clear();
        COPYDATASTRUCT data{row.kind, static_cast<DWORD>(row.text.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(row.text.data())};
        EXPECT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
        EXPECT_EQ(gLabelDraws, 0) << "drawn while the request was carried out";
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpPending();
        EXPECT_EQ(gLabelDraws, 1);
        EXPECT_EQ(form->LabWait()->Caption(), row.shown);
        EXPECT_EQ(GetWindowTextLengthW(gTracedLabel), static_cast<int>(row.shown.size()));
        for (const std::wstring& text : gTextsDrawn)
            EXPECT_EQ(text, row.shown);
    }
    UnhookWindowsHookEx(hook);
}

// A status text that does not fit the label shows whole lines only: nothing of a line that would be
// cut at the label's bottom is drawn.
TEST_F(StatusWindowCode, TextLongerThanTheLabelShowsWholeLinesOnly) {
    auto form = CreateForm<TForm1>();
    TLabel& label = *form->LabWait();
    TEXTMETRICW metrics{};
    {
        const TScreenDc screen;
        const TSelectScope font(screen.Dc(), label.Font().Handle());
        GetTextMetricsW(screen.Dc(), &metrics);
    }
    const int top = ScaleToScreen(label.Top());
    const int height = ScaleToScreen(label.Height());
    const int wholeLines = height / metrics.tmHeight;
    ASSERT_GT(wholeLines, 0);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::wstring rows[] = {
        L"one\r\ntwo\r\nthree\r\nfour\r\nfive",
        L"An installer step whose description is one long English sentence, far longer than the three "
        L"lines that the label of the status window has room for.",
    };
    for (const std::wstring& text : rows) {
        SCOPED_TRACE(WideToUtf8(text));
        COPYDATASTRUCT data{kStatusRequest, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(text.data())};
        ASSERT_EQ(SendMessageW(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
        TRendering rendering(client.right, client.bottom);
        rendering.Capture(form->Handle());
        const int lastLineTop = top + (wholeLines - 1) * metrics.tmHeight;
        const int linesEnd = top + wholeLines * metrics.tmHeight;
        EXPECT_GT(rendering.CountOther(face, face, 3, lastLineTop, client.right - 3, linesEnd), 0)
            << "the last whole line is empty";
        EXPECT_EQ(rendering.CountOther(face, face, 3, linesEnd, client.right - 3, top + height), 0)
            << "part of a line below the last whole one";
    }
}
