// Every shipped language module as a user on a French system meets it: the real program started with
// /L for the module's language shows that module's own status text, and scripts other than Latin
// reach the screen as their own glyphs, right-to-left ones in their reading order.
#include "Handles.h"
#include "InitLangue.h"
#include "RegistryLock.h"
#include "ShippedLanguages.h"
#include "StatusProgram.h"
#include "WindowReading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

using namespace attente::test;

namespace {

constexpr UINT kLanguageIdString = 65173;
constexpr UINT kStatusTextString = 65174;

// LabWait's place and font size at 96 dpi, and how the label draws.
constexpr int kLabelTop = kForm1_LabWait_Top;
constexpr int kLabelWidth = kForm1_LabWait_Width;
constexpr int kLabelHeight = kForm1_LabWait_Height;
constexpr int kLabelFontHeight = kForm1_LabWait_Font_Height;
constexpr int kDesignDpi = 96;
constexpr UINT kLabelFlags =
    DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER | DT_EDITCONTROL | DT_END_ELLIPSIS;
// The bevel and outline take three pixels on each side; the label shows them through.
constexpr int kFrameWidth = 3;
constexpr wchar_t kUnassigned = 0xFFFF;
constexpr int kRepaintAttempts = 20;
constexpr DWORD kRepaintPollMs = 100;

std::vector<std::string> ShippedModuleExtensions() {
    std::vector<std::string> extensions;
    WIN32_FIND_DATAA data{};
    const attente::TFindHandle find(FindFirstFileA((DistFolder() + "\\attente.*").c_str(), &data));
    if (!find) return extensions;
    do {
        const std::string name = data.cFileName;
        if (name != "attente.exe") extensions.push_back(name.substr(name.find('.') + 1));
    } while (FindNextFileA(find.Get(), &data));
    return extensions;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

int ScaleToScreen(int pixels) {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, kDesignDpi);
}

// The label's text drawn here as the program draws it: the same font, flags and colours on the form's
// background. Pixels as rows of the label's size.
std::vector<COLORREF> RenderLabel(const std::wstring& text, const wchar_t* font, BYTE charset,
                                  UINT extraFlags, int fontHeight = kLabelFontHeight) {
    const int width = ScaleToScreen(kLabelWidth), height = ScaleToScreen(kLabelHeight);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const attente::TGdiObject bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = ScaleToScreen(fontHeight);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font, LF_FACESIZE);
    const attente::TGdiObject handle(CreateFontIndirectW(&lf));
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap.Get());
    const HGDIOBJ oldFont = SelectObject(memory, handle.Get());
    RECT r{0, 0, width, height};
    const attente::TGdiObject face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(memory, &r, static_cast<HBRUSH>(face.Get()));
    SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(memory, TRANSPARENT);
    DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &r, kLabelFlags | extraFlags);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    return pixels;
}

// The label's area of the window on screen, clear of the frame, as RenderLabel lays its rows out;
// the frame's columns are taken from `like` so that only the text is compared.
std::vector<COLORREF> LabelOnScreen(const TScreenPixels& shot, const std::vector<COLORREF>& like) {
    const int width = ScaleToScreen(kLabelWidth), height = ScaleToScreen(kLabelHeight);
    const int top = ScaleToScreen(kLabelTop);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool frame = x < kFrameWidth || x >= shot.Width() - kFrameWidth;
            pixels.push_back(frame ? like[static_cast<std::size_t>(y) * width + x] : shot.Pixel(x, top + y));
        }
    return pixels;
}

// Where two renderings of the label differ, for the failure message.
std::string Difference(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    const int width = ScaleToScreen(kLabelWidth);
    std::size_t count = 0, first = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i] && count++ == 0) first = i;
    if (count == 0) return "no difference";
    return std::to_string(count) + " pixels differ, the first at " + std::to_string(first % width) + "," +
           std::to_string(first / width);
}

TScreenPixels ShotAfterRepaint(HWND window) {
    RepaintNow(window);
    return TScreenPixels(window);
}

std::size_t InkPixels(const std::vector<COLORREF>& pixels) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::size_t ink = 0;
    for (COLORREF p : pixels)
        ink += p != face;
    return ink;
}

// The text with every letter replaced by an unassigned code point: what a font without the script
// would show for it.
std::wstring Unassigned(const std::wstring& text) {
    std::wstring boxes = text;
    for (wchar_t& c : boxes)
        if (c != L'\r' && c != L'\n' && c != L' ') c = kUnassigned;
    return boxes;
}

struct TScriptCase {
    const char* Extension;
    const char* Abbrev;
    const wchar_t* Font;
    BYTE Charset;
    bool RightToLeft;
    int FontHeight = kLabelFontHeight;
};

// The CJK descriptions give a cell height, so that the line height holds whichever face is used.
constexpr int kCjkCellHeight = 14;

const TScriptCase kScriptCases[] = {
    {"JP", "JPN", L"MS UI Gothic", SHIFTJIS_CHARSET, false, kCjkCellHeight},
    {"CHT", "CHT", L"Microsoft JhengHei", CHINESEBIG5_CHARSET, false, kCjkCellHeight},
    {"KOR", "KOR", L"Malgun Gothic", HANGUL_CHARSET, false, kCjkCellHeight},
    {"TH", "THA", L"Tahoma", THAI_CHARSET, false},
    {"RU", "RUS", L"Tahoma", RUSSIAN_CHARSET, false},
    {"EL", "ELL", L"Tahoma", GREEK_CHARSET, false},
    {"AR", "ARA", L"Tahoma", ARABIC_CHARSET, true},
    {"HE", "HEB", L"Tahoma", HEBREW_CHARSET, true},
};

} // namespace

// One case per shipped module: the file's extension, and what /L names it by.
struct TModuleCase {
    const char* Extension;
    const char* Abbrev;
};

// resources/languages.txt, the one list the build makes the modules from.
const TModuleCase kShippedModules[] = {ATTENTE_SHIPPED_LANGUAGES};

// /L= reaches the languages of the program's table; the others (PTB, CHS) only the system's locale.
bool InLanguageTable(const std::string& abbrev) {
    for (const DWORD lcid : attente::kLanguageLcids) {
        char own[5] = {};
        if (GetLocaleInfoA(lcid, LOCALE_SABBREVLANGNAME, own, sizeof own) && abbrev == own) return true;
    }
    return false;
}

std::vector<TModuleCase> ReachedBySwitch() {
    std::vector<TModuleCase> cases;
    for (const TModuleCase& c : kShippedModules)
        if (InLanguageTable(c.Abbrev)) cases.push_back(c);
    return cases;
}

class ShippedModule : public testing::TestWithParam<TModuleCase> {};

TEST(LanguageModules, TheCasesListEveryShippedModule) {
    std::set<std::string> listed, shipped;
    for (const TModuleCase& c : kShippedModules) {
        listed.insert(c.Extension);
        EXPECT_EQ(Narrow(ModuleString(DistFolder() + "\\attente." + c.Extension, kLanguageIdString)),
                  c.Abbrev);
    }
    for (const std::string& extension : ShippedModuleExtensions())
        shipped.insert(extension);
    EXPECT_EQ(listed, shipped);
}

TEST_P(ShippedModule, ShowsItsOwnStatusTextOnAFrenchSystem) {
    const TModuleCase& c = GetParam();
    const std::wstring expected = ModuleString(DistFolder() + "\\attente." + c.Extension, kStatusTextString);
    ASSERT_FALSE(expected.empty());
    TRegistryLock registry;
    TInstallFolder folder;
    folder.AddDistModule(c.Extension, std::string("setup.") + c.Extension);
    TChildProcess program = folder.Start(std::string("/L=") + c.Abbrev);
    const HWND window = WaitForStatusWindow(program);
    ASSERT_NE(window, nullptr) << program.Output();
    const TStatusWindow status = ReadStatusWindow(window);
    EXPECT_EQ(status.Label.Text, expected);
    EXPECT_TRUE(status.Label.Visible);
    CloseAndExpectExit(program, window);
}

INSTANTIATE_TEST_SUITE_P(LanguageModules, ShippedModule, testing::ValuesIn(ReachedBySwitch()),
                         [](const testing::TestParamInfo<TModuleCase>& info) {
                             return std::string(info.param.Extension);
                         });

TEST(LanguageModules, ScriptsReachTheScreenAsTheirOwnGlyphs) {
    TRegistryLock registry;
    for (const TScriptCase& c : kScriptCases) {
        SCOPED_TRACE(c.Extension);
        const std::wstring text = ModuleString(DistFolder() + "\\attente." + c.Extension, kStatusTextString);
        const UINT order = c.RightToLeft ? DT_RTLREADING : 0;
        const std::vector<COLORREF> own = RenderLabel(text, c.Font, c.Charset, order, c.FontHeight);
        const std::vector<COLORREF> boxes =
            RenderLabel(Unassigned(text), c.Font, c.Charset, order, c.FontHeight);
        // A font without the script would draw the text like the unassigned code points.
        ASSERT_GT(InkPixels(own), 0u);
        ASSERT_NE(own, boxes) << "the font in use has no glyphs for this script";

        TInstallFolder folder;
        folder.AddDistModule(c.Extension, std::string("setup.") + c.Extension);
        TChildProcess program = folder.Start(std::string("/L=") + c.Abbrev);
        const HWND window = WaitForStatusWindow(program);
        ASSERT_NE(window, nullptr) << program.Output();
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // A repaint asked from here reaches the program's thread as a paint message, which it handles
        // after the messages we send it: look again until the label has been drawn.
        std::vector<COLORREF> shown;
        TScreenPixels shot = ShotAfterRepaint(window);
        for (int attempt = 0; attempt < kRepaintAttempts; ++attempt) {
            shown = LabelOnScreen(shot, own);
            if (shown == own) break;
            Sleep(kRepaintPollMs);
            shot = ShotAfterRepaint(window);
        }
        ASSERT_EQ(shot.Width(), ScaleToScreen(kClientWidth));
        EXPECT_GT(InkPixels(shown), 0u);
        EXPECT_TRUE(shown == own) << "the label does not show the module's text in its script's font: "
                                  << Difference(shown, own);
        if (c.RightToLeft) {
            // The neutral "..." ends the sentence on the left only when the paragraph reads right to
            // left, so the two orders draw differently.
            const std::vector<COLORREF> leftToRight = RenderLabel(text, c.Font, c.Charset, 0, c.FontHeight);
            ASSERT_NE(leftToRight, own);
            EXPECT_FALSE(shown == leftToRight) << "drawn in left-to-right reading order";
            const TStatusWindow status = ReadStatusWindow(window);
            EXPECT_NE(GetWindowLongW(status.Label.Window, GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
            // Reading order only: the window is not mirrored and its bevel keeps its light and shadow.
            EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
            for (const TExpectedPixel& p : BorderAndBevelPixels())
                EXPECT_EQ(shot.Pixel(p.X, p.Y), p.Colour) << "at " << p.X << "," << p.Y;
        }
        CloseAndExpectExit(program, window);
    }
}
