// Window creation and reload from real resources: class levels base first, reload in place after a
// switch of resource module, the two failure texts, and ReloadAllForms over the screen list.
#include "Exceptions.h"
#include "TestForms.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <memory>

using namespace attente;
using namespace attente::test;

namespace {

using FormCreation = TDescriptionTest;
using FormReload = TDescriptionTest;

std::wstring WindowText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

} // namespace

TEST_F(FormCreation, ReadsOneLevelAndRunsOnCreateAfterIt) {
    auto form = CreateForm<TBaseForm>();
    EXPECT_EQ(form->Name(), "Base");
    EXPECT_EQ(WindowText(form->Handle()), L"Base");
    ASSERT_NE(form->Lab1(), nullptr);
    EXPECT_EQ(form->Lab1()->Caption(), L"\u00c9tiquette de base");
    EXPECT_EQ(WindowText(form->Lab1()->Handle()), L"\u00c9tiquette de base");
    EXPECT_EQ(GetParent(form->Lab1()->Handle()), form->Handle());
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->Creates, 1);
    EXPECT_EQ(form->CaptionAtCreate, L"Base");
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(FormCreation, DerivedClassAppliesEveryLevelBaseFirstThenRunsOnCreateOnce) {
    auto form = CreateForm<TDerivedForm>();
    // The derived level overwrote what the base set, and kept what it did not list.
    EXPECT_EQ(form->Name(), "Derived");
    EXPECT_EQ(form->Caption(), L"D\u00e9riv\u00e9e");
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->ClientHeight(), 90);
    ASSERT_NE(form->Lab1(), nullptr);
    ASSERT_NE(form->Lab2(), nullptr);
    EXPECT_EQ(form->Lab1()->Caption(), L"\u00c9tiquette d\u00e9riv\u00e9e");
    EXPECT_EQ(form->Lab1()->Width(), 100);
    EXPECT_EQ(form->Lab2()->Caption(), L"Seconde");
    // Lab2's record leaves sizing on: once read, it measures exactly its text in its own font.
    SIZE text{};
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, form->Lab2()->Font().Handle());
    GetTextExtentPoint32W(screen, L"Seconde", 7, &text);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(form->Lab2()->Width(), text.cx);
    EXPECT_EQ(form->Lab2()->Height(), text.cy);
    EXPECT_FALSE(form->Lab2()->Loading());
    EXPECT_EQ(form->ComponentCount(), 2);
    // OnCreate, bound by the base level, ran once, after the derived level was read.
    EXPECT_EQ(form->Creates, 1);
    EXPECT_EQ(form->CaptionAtCreate, L"D\u00e9riv\u00e9e");
    EXPECT_EQ(form->ComponentsAtCreate, 2);
    EXPECT_EQ(form->Lab1CaptionAtCreate, L"\u00c9tiquette d\u00e9riv\u00e9e");
}

TEST_F(FormCreation, WithoutAnyDescriptionFailsNamingTheClass) {
    TClassInfo missing{"TMissingForm", &TForm::StaticClassInfo, nullptr};
    {
        TProbeForm form(missing);
        EXPECT_EQ(MessageOf<EResNotFound>([&] { InitForm(form); }),
                  "Ressource TMissingForm non trouv\u00e9e");
    }
    // The text comes from the resource source: here a module with texts of its own.
    InstallTestModule("NoForms.dll");
    EXPECT_EQ(MessageOf<EResNotFound>([] { CreateForm<TDerivedForm>(); }),
              "Ressource TDerivedForm nicht gefunden");
    EXPECT_EQ(Screen.FormCount(), 0); // the half-made form is gone
}

TEST_F(FormCreation, ARecordUpdatingAMissingComponentFailsWithItsName) {
    TClassInfo ghost{"TGhostForm", &TForm::StaticClassInfo, nullptr};
    TProbeForm form(ghost);
    EXPECT_EQ(MessageOf<EReadError>([&] { InitForm(form); }), "Anc\u00eatre de 'Ghost' non trouv\u00e9");
}

TEST_F(FormCreation, ClassLevelsWithoutADescriptionAreSkipped) {
    // No resource is named after this class; the level of its base is read all the same.
    TClassInfo below{"TNoDescriptionForm", &TBaseForm::StaticClassInfo, nullptr};
    TProbeForm form(below);
    InitForm(form);
    EXPECT_EQ(form.Caption(), L"Base");
    EXPECT_NE(form.FindComponent("Lab1"), nullptr);
}

TEST_F(FormReload, SwitchingModulesChangesTextsInPlaceAndLeavesUnlistedPropertiesAlone) {
    auto derived = CreateForm<TDerivedForm>();
    auto other = CreateForm<TOtherForm>();
    const HWND derivedWindow = derived->Handle();
    const HWND lab1Window = derived->Lab1()->Handle();
    TLabel* const lab1 = derived->Lab1();
    // Set by code after creation, and not listed by the module's descriptions.
    TLabel& label = *derived->Lab1();
    label.SetBounds(33, label.Top(), label.Width(), label.Height());
    derived->SetBounds(derived->Left(), derived->Top(), 150, derived->Height());

    InstallTestModule("AltForms.dll");
    ReloadAllForms();

    EXPECT_EQ(derived->Handle(), derivedWindow);
    EXPECT_EQ(derived->Lab1(), lab1);
    EXPECT_EQ(derived->Lab1()->Handle(), lab1Window);
    EXPECT_EQ(derived->Caption(), L"Abgeleitet"); // the derived level, applied after the base's "Basis"
    EXPECT_EQ(WindowText(derivedWindow), L"Abgeleitet");
    EXPECT_EQ(WindowText(lab1Window), L"Basisetikett");
    EXPECT_EQ(derived->Lab2()->Caption(), L"Zweite");
    EXPECT_EQ(derived->Lab1()->Left(), 33);
    EXPECT_EQ(derived->ClientWidth(), 150);
    EXPECT_EQ(derived->ComponentCount(), 2);
    EXPECT_EQ(derived->Name(), "Derived");
    EXPECT_EQ(derived->Creates, 1); // a reload is no creation
    EXPECT_EQ(other->Caption(), L"Andere");
}

TEST_F(FormReload, ReloadFormLevelsReportsWhetherAnyLevelWasFound) {
    auto form = CreateForm<TBaseForm>();
    EXPECT_TRUE(ReloadFormLevels(*form, TForm::StaticClassInfo));
    // The root class itself has no level to read.
    EXPECT_FALSE(ReloadFormLevels(*form, TBaseForm::StaticClassInfo));
    InstallTestModule("NoForms.dll");
    EXPECT_FALSE(ReloadFormLevels(*form, TForm::StaticClassInfo));
    EXPECT_EQ(form->Caption(), L"Base");
}

TEST_F(FormReload, ReadFormResourceLeavesTheWindowAloneWhenTheResourceIsMissing) {
    auto form = CreateForm<TBaseForm>();
    EXPECT_FALSE(ReadFormResource("TNOSUCHFORM", nullptr, *form));
    EXPECT_EQ(form->Caption(), L"Base");
    // Found by name without regard to case; null reads the executable's own instance.
    form->SetCaption(L"chang\u00e9");
    EXPECT_TRUE(ReadFormResource("tbaseform", nullptr, *form));
    EXPECT_EQ(form->Caption(), L"Base");
    HMODULE alt = LoadLibraryExA((TestFolder() + "AltForms.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(alt, nullptr);
    EXPECT_TRUE(ReadFormResource("TBASEFORM", alt, *form));
    EXPECT_EQ(form->Caption(), L"Basis");
    FreeLibrary(alt);
}

TEST_F(FormReload, AMissingComponentStopsReloadAllFormsAtThatWindow) {
    auto base = CreateForm<TBaseForm>();
    auto other = CreateForm<TOtherForm>();
    InstallTestModule("BrokenForms.dll");
    EXPECT_EQ(MessageOf<EReadError>([] { ReloadAllForms(); }), "Vorfahr von 'Ghost' nicht gefunden");
    // The form after it in the screen list was not reloaded, though its description is sound.
    EXPECT_EQ(other->Caption(), L"Autre");
    EXPECT_EQ(MessageOf<EReadError>([&] { ReloadFormLevels(*base, TForm::StaticClassInfo); }),
              "Vorfahr von 'Ghost' nicht gefunden");
    EXPECT_TRUE(ReloadFormLevels(*other, TForm::StaticClassInfo));
    EXPECT_EQ(other->Caption(), L"Andere");
}

// The check before a switch reads what the reload would read, into scratch components: it answers
// as the reload would end, and leaves every open form as it was.
TEST_F(FormReload, TheReloadCheckAnswersAsTheReloadWouldEndAndChangesNoForm) {
    struct {
        const char* module;
        bool succeeds;
    } const rows[] = {
        {"AltForms.dll", true},
        {"BrokenForms.dll", false}, // a component the form lacks
        {"NoForms.dll", false},     // no description for the open forms
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.module);
        auto derived = CreateForm<TDerivedForm>();
        auto other = CreateForm<TOtherForm>();
        const int forms = Screen.FormCount();
        InstallTestModule(row.module);
        EXPECT_EQ(ReloadAllFormsWouldSucceed(), row.succeeds);
        EXPECT_EQ(Screen.FormCount(), forms);
        EXPECT_EQ(derived->Caption(), L"D\u00e9riv\u00e9e");
        EXPECT_EQ(WindowText(derived->Lab1()->Handle()), L"\u00c9tiquette d\u00e9riv\u00e9e");
        EXPECT_EQ(derived->ComponentCount(), 2);
        EXPECT_EQ(other->Caption(), L"Autre");
        InstallResourceModule(ExeModuleRecord()->Instance);
    }
}

TEST_F(FormReload, ReloadAllFormsFollowsTheScreenListOrder) {
    auto other = CreateForm<TOtherForm>();
    auto base = CreateForm<TBaseForm>();
    InstallTestModule("BrokenForms.dll");
    // TOtherForm comes first now, so it is reloaded before TBaseForm fails.
    EXPECT_THROW(ReloadAllForms(), EReadError);
    EXPECT_EQ(other->Caption(), L"Andere");
}

TEST_F(FormReload, WithNoWindowOpenReloadAllFormsDoesNothing) {
    InstallTestModule("BrokenForms.dll");
    EXPECT_NO_THROW(ReloadAllForms());
    // The same module fails as soon as a window of that class is open.
    auto base = std::make_unique<TBaseForm>(nullptr);
    EXPECT_THROW(ReloadAllForms(), EReadError);
}
