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
