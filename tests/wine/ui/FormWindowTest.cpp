// Forms, labels and pictures as real windows under Wine: style, placement, UTF-16 texts, painting
// through WM_PAINT on the screen, and exceptions caught in the window procedure.
#include "Dpi.h"
#include "Exceptions.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "MessageErrors.h"
#include "Rendering.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

using namespace attente;
using attente::test::TRendering;

// Allocation failure, injected: while set, every operator new of this test program fails.
bool gFailAllocations = false;

void* operator new(std::size_t size) {
    void* block = gFailAllocations ? nullptr : std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

void FailAllocations() {
    gFailAllocations = true;
}

// Beyond any string's inline storage.
constexpr char kLongText[] = "a text too long to be kept inside the string object itself";

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Set(TComponent& component, const char* name, const TValue& value) {
    ASSERT_TRUE(component.SetProperty(name, value)) << name;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

// A borderless 230 x 64 form, blue, centred, holding one label.
struct TPanel {
    TForm Form;
    TLabel* Label;

    TPanel() {
        Set(Form, "BorderStyle", TValue::OfIdentifier("none"));
        Set(Form, "BorderIcons", TValue::OfSet({}));
        Set(Form, "Position", TValue::OfIdentifier("screenCenter"));
        Set(Form, "ClientWidth", TValue::OfInteger(230));
        Set(Form, "ClientHeight", TValue::OfInteger(64));
        Set(Form, "Color", TValue::OfInteger(static_cast<std::int32_t>(kBlue)));
        Form.CreateHandle();
        Label = new TLabel(&Form);
        Label->SetName("Lab");
        Label->SetParent(&Form);
        Set(*Label, "Left", TValue::OfInteger(100));
        Set(*Label, "Top", TValue::OfInteger(10));
        Set(*Label, "Width", TValue::OfInteger(120));
        Set(*Label, "Height", TValue::OfInteger(40));
        Set(*Label, "AutoSize", TValue::OfBoolean(false));
        Set(*Label, "Font.Color", TValue::OfInteger(0));
        Set(*Label, "Font.Height", TValue::OfInteger(-20));
        Set(*Label, "Caption", TValue::OfString("WWWW"));
    }
};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A .ico file with one size x size monochrome image: directory, entry, header, palette, rows, mask.
std::vector<std::uint8_t> MonochromeIcon(unsigned size) {
    const unsigned row = ((size + 31) / 32) * 4;
    const unsigned image = 40 + 8 + 2 * row * size;
    std::vector<std::uint8_t> out;
    Put16(out, 0), Put16(out, 1), Put16(out, 1);
    out.insert(out.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), 2, 0});
    Put16(out, 1), Put16(out, 1), Put32(out, image), Put32(out, 22);
    Put32(out, 40), Put32(out, size), Put32(out, 2 * size), Put16(out, 1), Put16(out, 1);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    Put32(out, 0), Put32(out, 0x00FFFFFF);
    out.resize(out.size() + 2 * row * size, 0);
    return out;
}

} // namespace

TEST(FormWindow, IsABorderlessCentredTopLevelWindowOfTheGivenClientSize) {
    TPanel panel;
    HWND window = panel.Form.Handle();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowUnicode(window));
    EXPECT_EQ(GetParent(window), nullptr);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, ScaleToScreen(230));
    EXPECT_EQ(client.bottom, ScaleToScreen(64));
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    EXPECT_FALSE(IsWindowVisible(window)); // shown by its owner, not by being made
}

TEST(FormWindow, CaptionsTravelAsUtf16) {
    TPanel panel;
    const std::string greek = "Παρακαλώ περιμένετε — ok";
    Set(panel.Form, "Caption", TValue::OfString(greek));
    Set(*panel.Label, "Caption", TValue::OfString("Пожалуйста, подождите\r\n\r\nÀ bientôt"));
    EXPECT_EQ(WindowText(panel.Form.Handle()),
              L"\u03a0\u03b1\u03c1\u03b1\u03ba\u03b1\u03bb\u03ce "
              L"\u03c0\u03b5\u03c1\u03b9\u03bc\u03ad\u03bd\u03b5\u03c4\u03b5 \u2014 ok");
    EXPECT_EQ(panel.Form.Caption(), WindowText(panel.Form.Handle()));
    EXPECT_EQ(WindowText(panel.Label->Handle()), panel.Label->Caption());
    EXPECT_EQ(panel.Label->Caption().substr(0, 3), L"\u041f\u043e\u0436");
}

TEST(FormWindow, LabelIsAChildTextControlAtItsScaledBounds) {
    TPanel panel;
    HWND label = panel.Label->Handle();
    ASSERT_TRUE(IsWindow(label));
    EXPECT_EQ(GetParent(label), panel.Form.Handle());
    wchar_t className[32] = {};
    GetClassNameW(label, className, 32);
    EXPECT_EQ(_wcsicmp(className, L"Static"), 0);
    EXPECT_EQ(WindowText(label), L"WWWW");
    RECT r;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, panel.Form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, ScaleToScreen(100));
    EXPECT_EQ(r.top, ScaleToScreen(10));
    EXPECT_EQ(r.right - r.left, ScaleToScreen(120));
    EXPECT_EQ(r.bottom - r.top, ScaleToScreen(40));
    panel.Label->SetVisible(false);
    EXPECT_FALSE(GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE);
}

TEST(FormWindow, PaintsBackgroundOnPaintAndTheLabelTextOnTheScreen) {
    TPanel panel;
    int paints = 0;
    panel.Form.OnPaint = [&](TComponent& sender) {
        ++paints;
        EXPECT_EQ(&sender, &panel.Form);
        ASSERT_NE(panel.Form.Canvas(), nullptr);
        RECT corner{0, 0, 10, 10};
        TGdiObject red(CreateSolidBrush(kRed));
        FillRect(panel.Form.Canvas(), &corner, static_cast<HBRUSH>(red.Get()));
    };
    RECT client;
    GetClientRect(panel.Form.Handle(), &client);
    TRendering image(client.right, client.bottom);
    image.Capture(panel.Form.Handle());
    EXPECT_GE(paints, 1);
    EXPECT_EQ(panel.Form.Canvas(), nullptr);
    EXPECT_EQ(image.Pixel(5, 5), kRed);
    EXPECT_EQ(image.Pixel(50, 50), kBlue);
    EXPECT_EQ(image.Count(0x563412, 0, 0, client.right, client.bottom), 0); // every pixel painted
    const RECT l{ScaleToScreen(100), ScaleToScreen(10), ScaleToScreen(220), ScaleToScreen(50)};
    // The label's text is there, in black, and only inside the label; transparent, so blue around it.
    EXPECT_GT(image.Count(kBlack, l.left, l.top, l.right, l.bottom), 20);
    EXPECT_EQ(image.Count(kBlack, 0, 0, l.left, client.bottom), 0);
    EXPECT_EQ(image.CountOther(kBlue, kRed, 0, l.bottom, client.right, client.bottom), 0);
    EXPECT_GT(image.Count(kBlue, l.left, l.top, l.right, l.bottom), 0);

    // Hidden, the label leaves no trace.
    panel.Label->SetVisible(false);
    TRendering hidden(client.right, client.bottom);
    hidden.Capture(panel.Form.Handle());
    EXPECT_EQ(hidden.Count(kBlack, 0, 0, client.right, client.bottom), 0);
}

TEST(FormWindow, CentredLabelDrawsItsTextInTheMiddleOverTheFormsPaint) {
    TPanel panel;
    Set(*panel.Label, "Alignment", TValue::OfIdentifier("center"));
    Set(*panel.Label, "Caption", TValue::OfString("I"));
    panel.Form.OnPaint = [&](TComponent&) {
        RECT all{0, 0, 1000, 1000};
        TGdiObject white(CreateSolidBrush(kWhite));
        FillRect(panel.Form.Canvas(), &all, static_cast<HBRUSH>(white.Get()));
    };
    RECT client;
    GetClientRect(panel.Form.Handle(), &client);
    TRendering image(client.right, client.bottom);
    image.Capture(panel.Form.Handle());
    const RECT l{ScaleToScreen(100), ScaleToScreen(10), ScaleToScreen(220), ScaleToScreen(50)};
    EXPECT_EQ(image.Pixel(l.left + 1, l.bottom - 2), kWhite); // the form's paint shows through
    // A centred "I" lies in the middle third of the label.
    const int third = (l.right - l.left) / 3;
    EXPECT_EQ(image.Count(kBlack, l.left, l.top, l.left + third, l.bottom), 0);
    EXPECT_GT(image.Count(kBlack, l.left + third, l.top, l.right - third, l.bottom), 0);
    EXPECT_EQ(image.Count(kBlack, l.right - third, l.top, l.right, l.bottom), 0);
}

TEST(FormWindow, WordWrapBreaksALongCaptionOntoMoreLines) {
    TPanel panel;
    Set(*panel.Label, "Caption", TValue::OfString("mmmm mmmm mmmm mmmm mmmm mmmm"));
    Set(*panel.Label, "AutoSize", TValue::OfBoolean(true));
    const int singleLine = panel.Label->Height();
    Set(*panel.Label, "Width", TValue::OfInteger(120));
    Set(*panel.Label, "WordWrap", TValue::OfBoolean(true));
    EXPECT_EQ(panel.Label->Width(), 120);
    EXPECT_GE(panel.Label->Height(), 2 * singleLine);
}

TEST(FormWindow, PaintMessagesRunOnPaintEveryTime) {
    TPanel panel;
    int paints = 0;
    panel.Form.OnPaint = [&](TComponent&) { ++paints; };
    panel.Form.Show();
    RedrawWindow(panel.Form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int afterFirst = paints;
    EXPECT_GE(afterFirst, 1);
    RedrawWindow(panel.Form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(paints, afterFirst + 1);
}

// Whatever a routine throws, and even when memory runs out on the way, the window procedure hands the
// handler a failure and returns to the system normally: nothing unwinds through the system's frames.
TEST(FormWindow, AnExceptionInARoutineReachesTheHandlerNotTheSystem) {
    struct {
        const char* name;
        TNotifyEvent routine;
        bool handlerAllocates;
        const char* expected; // what the handler was given; null: it failed itself
    } const rows[] = {
        {"read error", [](TComponent&) { throw EReadError("peinture impossible"); }, false,
         "peinture impossible"},
        {"allocation failure",
         [](TComponent&) {
             FailAllocations();
             (void)std::string(kLongText);
         },
         false, "std::bad_alloc"},
        // No memory either for a message of the window procedure's own.
        {"not an exception class",
         [](TComponent&) {
             FailAllocations();
             throw 42;
         },
         false, "Erreur inconnue"},
        {"handler out of memory",
         [](TComponent&) {
             FailAllocations();
             throw EReadError("x");
         },
         true, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TPanel panel;
        char caught[64] = {};
        int calls = 0;
        const TMessageExceptionHandler previous = SetMessageExceptionHandler([&](const std::exception& e) {
            ++calls;
            if (row.handlerAllocates) (void)std::string(kLongText);
            lstrcpynA(caught, e.what(), sizeof caught);
        });
        panel.Form.OnPaint = row.routine;
        RECT client;
        GetClientRect(panel.Form.Handle(), &client);
        TRendering image(client.right, client.bottom);
        panel.Form.Show();
        RedrawWindow(panel.Form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        gFailAllocations = false;
        EXPECT_GE(calls, 1);
        EXPECT_STREQ(caught, row.expected ? row.expected : "");
        // The paint was ended despite the exception: nothing is left to paint.
        EXPECT_FALSE(GetUpdateRect(panel.Form.Handle(), nullptr, FALSE));
        // And the window goes on working.
        panel.Form.OnPaint = nullptr;
        SetMessageExceptionHandler(previous);
        image.Capture(panel.Form.Handle());
        EXPECT_EQ(image.Pixel(1, 1), kBlue);
    }
}

TEST(FormWindow, DestroyingTheFormDestroysItsWindowsAndComponents) {
    HWND form = nullptr, label = nullptr;
    {
        TPanel panel;
        form = panel.Form.Handle();
        label = panel.Label->Handle();
    }
    EXPECT_FALSE(IsWindow(form));
    EXPECT_FALSE(IsWindow(label));
}

TEST(FormWindow, PictureTakesAnIconFileAndRefusesOtherBytes) {
    TForm form;
    form.CreateHandle();
    auto* image = new TImage(&form);
    image->SetParent(&form);
    const std::vector<std::uint8_t> ico = MonochromeIcon(2);
    Set(*image, "AutoSize", TValue::OfBoolean(true));
    Set(*image, "Picture", TValue::OfBinary(ico));
    ASSERT_NE(image->Icon(), nullptr);
    EXPECT_EQ(image->Width(), 2);
    HICON before = image->Icon();
    std::vector<std::uint8_t> cut = ico;
    cut.resize(ico.size() - 1); // the mask's last byte missing
    EXPECT_THROW(image->SetProperty("Picture", TValue::OfBinary(cut)), EReadError);
    EXPECT_THROW(image->SetProperty("Picture", TValue::OfBinary({1, 2, 3})), EReadError);
    EXPECT_EQ(image->Icon(), before);
}

TEST(FormWindow, RightToLeftFormSwapsLabelSidesAndMarksTheReadingOrderWithoutMirroring) {
    TPanel panel;
    Set(*panel.Label, "Caption", TValue::OfString("I"));
    Set(*panel.Label, "Alignment", TValue::OfIdentifier("left"));
    RECT client;
    GetClientRect(panel.Form.Handle(), &client);
    const RECT l{ScaleToScreen(100), ScaleToScreen(10), ScaleToScreen(220), ScaleToScreen(50)};
    const int half = (l.right - l.left) / 2;
    auto inkLeftAndRight = [&](int& left, int& right) {
        TRendering image(client.right, client.bottom);
        image.Capture(panel.Form.Handle());
        left = image.Count(kBlack, l.left, l.top, l.left + half, l.bottom);
        right = image.Count(kBlack, l.left + half, l.top, l.right, l.bottom);
    };
    int left = 0, right = 0;
    inkLeftAndRight(left, right);
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(GetWindowLongW(panel.Label->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);

    // Switched on an existing window: the label follows at once, the form stays unmirrored.
    Set(panel.Form, "BiDiMode", TValue::OfIdentifier("rightToLeft"));
    EXPECT_EQ(panel.Form.BiDiMode(), TBiDiMode::RightToLeft);
    inkLeftAndRight(left, right);
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 0);
    EXPECT_NE(GetWindowLongW(panel.Label->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
    EXPECT_EQ(GetWindowLongW(panel.Form.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);

    Set(panel.Form, "BiDiMode", TValue::OfIdentifier("leftToRight"));
    inkLeftAndRight(left, right);
    EXPECT_GT(left, 0);
    EXPECT_EQ(GetWindowLongW(panel.Label->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
    EXPECT_THROW(panel.Form.SetProperty("BiDiMode", TValue::OfIdentifier("mirrored")), EReadError);
}
