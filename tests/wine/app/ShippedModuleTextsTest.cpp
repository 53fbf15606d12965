// Every shipped module read into the real status window, as the platform draws it: the status text
// fits the label, and the label's font, as the platform selects it, has every character of the
// module's texts.
#include "DistModules.h"
#include "Dpi.h"
#include "Form1.h"
#include "FormResources.h"
#include "Handles.h"
#include "ResourceSource.h"
#include "TextFormat.h"
#include "UiHandles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <functional>
#include <iomanip>
#include <sstream>

using namespace attente;
using namespace attente::test;

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
// What GGI_MARK_NONEXISTING_GLYPHS gives a character the font lacks.
constexpr WORD kMissingGlyph = 0xFFFF;

std::string DistFolder() {
    const char* folder = std::getenv("ATTENTE_DIST_DIR");
    return folder ? folder : "";
}

std::string SelectedFace(HDC dc) {
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    return WideToUtf8(face);
}

// The status window made from each shipped module in turn, its label's font selected into a screen DC.
void ForEachShippedModule(const std::function<void(const std::string&, TLabel&, HDC)>& check) {
    const std::vector<std::string> modules = DistModuleNames(DistFolder() + "/attente.*");
    ASSERT_FALSE(modules.empty()) << "no modules in " << DistFolder();
    for (const std::string& name : modules) {
        SCOPED_TRACE(name);
        const HMODULE module =
            LoadLibraryExA((DistFolder() + "/" + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        // Releases the module installed before it.
        ASSERT_EQ(InstallResourceModule(module), module);
        auto form = CreateForm<TForm1>();
        TLabel* label = form->LabWait();
        ASSERT_NE(label, nullptr);
        const TScreenDc screen;
        const TSelectScope font(screen.Dc(), label->Font().Handle());
        check(name, *label, screen.Dc());
    }
}

class ShippedModules : public ::testing::Test {
  protected:
    void SetUp() override { InitModuleRecord(GetModuleHandleA(nullptr)); }
    void TearDown() override { ReleaseModuleRecord(); }
};

} // namespace

// In pixels, as the label draws it: every line whole within the label's height, in the font the
// platform selected for it.
TEST_F(ShippedModules, StatusTextFitsTheLabel) {
    ForEachShippedModule([](const std::string& module, TLabel& label, HDC dc) {
        TEXTMETRICW metrics{};
        ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
        const std::wstring text = label.Caption();
        RECT r{0, 0, ScaleToScreen(label.Width()), 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, kMeasureFlags);
        EXPECT_LE(r.bottom, ScaleToScreen(label.Height()))
            << module << ": the status text takes " << r.bottom / metrics.tmHeight << " lines of "
            << metrics.tmHeight << " pixels in " << label.Width() << " pixels of " << SelectedFace(dc)
            << "; the label is " << label.Height() << " pixels high";
    });
}

TEST_F(ShippedModules, LabelFontHasEveryCharacterOfTheTexts) {
    ForEachShippedModule([](const std::string& module, TLabel& label, HDC dc) {
        for (UINT id : kModuleStrings) {
            const std::wstring text = LoadResStringW(id);
            std::vector<WORD> glyphs(text.size());
            ASSERT_NE(GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS),
                      GDI_ERROR);
            std::ostringstream missing;
            for (std::size_t i = 0; i < text.size(); ++i)
                if (glyphs[i] == kMissingGlyph && !std::iswcntrl(text[i]))
                    missing << " U+" << std::hex << std::uppercase << std::setw(4) << std::setfill('0')
                            << static_cast<unsigned>(text[i]);
            EXPECT_EQ(missing.str(), "")
                << module << ", string " << id << ": " << WideToUtf8(label.Font().Name())
                << " (selected: " << SelectedFace(dc) << ") lacks these characters";
        }
    });
}

// An installer's words in a script the module's face lacks: the label draws them in a face that has
// every letter, through a Western and a Cyrillic module.
TEST_F(ShippedModules, InstallersWordsInAnyScriptHaveTheirLetters) {
    const wchar_t* const texts[] = {
        L"\u30d5\u30a1\u30a4\u30eb\u3092\u30b3\u30d4\u30fc\u4e2d", // Japanese
        L"\u6b63\u5728\u590d\u5236\u6587\u4ef6",                   // Chinese
        L"\ud30c\uc77c \ubcf5\uc0ac \uc911",                       // Korean
        L"\u0e01\u0e33\u0e25\u0e31\u0e07\u0e04\u0e31\u0e14\u0e25\u0e2d\u0e01", // Thai
        L"\u062c\u0627\u0631\u064d \u0627\u0644\u0646\u0633\u062e",          // Arabic
        L"\u05de\u05e2\u05ea\u05d9\u05e7 \u05e7\u05d1\u05e6\u05d9\u05dd",    // Hebrew
    };
    for (const char* name : {"attente.DE", "attente.RU"}) {
        SCOPED_TRACE(name);
        const HMODULE module = LoadLibraryExA((DistFolder() + "/" + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(InstallResourceModule(module), module);
        auto form = CreateForm<TForm1>();
        TLabel& label = *form->LabWait();
        for (const wchar_t* text : texts) {
            label.SetCaption(std::wstring(L"Setup: ") + text);
            const std::wstring caption = label.Caption();
            const TScreenDc screen;
            const TSelectScope font(screen.Dc(), label.DrawFont());
            std::vector<WORD> glyphs(caption.size());
            ASSERT_NE(GetGlyphIndicesW(screen.Dc(), caption.c_str(), static_cast<int>(caption.size()),
                                       glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS),
                      GDI_ERROR);
            std::ostringstream missing;
            for (std::size_t i = 0; i < caption.size(); ++i)
                if (glyphs[i] == kMissingGlyph) missing << " U+" << std::hex << static_cast<unsigned>(caption[i]);
            EXPECT_EQ(missing.str(), "") << WideToUtf8(caption) << " in " << SelectedFace(screen.Dc());
        }
    }
}
