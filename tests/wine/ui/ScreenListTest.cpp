// The screen list against real windows: creation order, removal on destruction, focus to the front;
// and what descriptions reach of components: published routines and typed properties.
#include "Exceptions.h"
#include "Form.h"
#include "Label.h"
#include "Screen.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace attente;

namespace {

std::vector<TForm*> ScreenForms() {
    std::vector<TForm*> forms;
    for (int i = 0; i < Screen.FormCount(); ++i)
        forms.push_back(Screen.Forms(i));
    return forms;
}

void Focus(TForm& form) {
    form.CreateHandle();
    form.Show();
    SetActiveWindow(form.Handle());
    SetFocus(form.Handle());
}

class TPublishingForm : public TForm {
    ATTENTE_CLASS(TPublishingForm, TForm)
  public:
    explicit TPublishingForm(TComponent* owner) : TForm(owner) {
        PublishMethod("FormCreate", &TPublishingForm::FormCreate);
    }
    void FormCreate(TComponent& sender) { Sender = &sender; }
    TComponent* Sender = nullptr;
};

} // namespace

TEST(ScreenList, FollowsCreationDestructionAndFocus) {
    ASSERT_EQ(Screen.FormCount(), 0);
    auto a = std::make_unique<TForm>();
    auto b = std::make_unique<TForm>();
    auto c = std::make_unique<TForm>();
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{a.get(), b.get(), c.get()}));
    b.reset();
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{a.get(), c.get()}));
    auto d = std::make_unique<TForm>();
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{a.get(), c.get(), d.get()}));
    Focus(*d);
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{d.get(), a.get(), c.get()}));
    Focus(*c);
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{c.get(), d.get(), a.get()}));
    Focus(*a);
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{a.get(), c.get(), d.get()}));
    // Destroying the focused form leaves the others in their order.
    a.reset();
    EXPECT_EQ(ScreenForms(), (std::vector<TForm*>{c.get(), d.get()}));
    c.reset();
    d.reset();
    EXPECT_EQ(Screen.FormCount(), 0);
}

TEST(ScreenList, IndexOutsideTheListRaises) {
    TForm form;
    EXPECT_EQ(Screen.Forms(0), &form);
    EXPECT_THROW(Screen.Forms(1), EListError);
    EXPECT_THROW(Screen.Forms(-1), EListError);
}

TEST(Components, ClassChainAndPublishedRoutinesAreFoundByName) {
    TPublishingForm form(nullptr);
    EXPECT_TRUE(form.ClassChainHas("tform"));
    EXPECT_TRUE(form.ClassChainHas("TComponent"));
    EXPECT_FALSE(form.ClassChainHas("TLabel"));
    EXPECT_EQ(form.ClassInfo().Module, nullptr);

    TNotifyEvent routine = form.FindMethod("formcreate");
    ASSERT_TRUE(routine);
    routine(form);
    EXPECT_EQ(form.Sender, &form);
    EXPECT_FALSE(form.FindMethod("FormPaint"));

    auto* label = new TLabel(&form);
    label->SetName("LabWait");
    EXPECT_EQ(form.FindComponent("LABWAIT"), label);
    delete label;
    EXPECT_EQ(form.FindComponent("LabWait"), nullptr);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(Components, PropertiesCheckTheirValueTypes) {
    TForm form;
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    struct Case {
        TComponent* component;
        const char* property;
        TValue value;
    };
    const Case refused[] = {
        {&form, "Caption", TValue::OfInteger(12)},
        {&form, "ClientWidth", TValue::OfString("230")},
        // A form is always borderless; descriptions list these for the record's sake.
        {&form, "BorderStyle", TValue::OfIdentifier("single")},
        {&form, "BorderIcons", TValue::OfSet({"systemMenu"})},
        {&form, "BorderIcons", TValue::OfIdentifier("systemMenu")},
        {&form, "Position", TValue::OfIdentifier("designed")},
        {&form, "Position", TValue::OfBoolean(true)},
        {&form, "Color", TValue::OfIdentifier("clNoSuchColour")},
        {&form, "Color", TValue::OfInteger(0x01000000)},
        {&form, "Color", TValue::OfInteger(-1)},
        {&form, "Font.Height", TValue::OfString("-13")},
        {&form, "Font.Charset", TValue::OfInteger(238)},
        {&form, "Font.Charset", TValue::OfIdentifier("klingon")},
        {&form, "Visible", TValue::OfInteger(1)},
        {label, "Alignment", TValue::OfIdentifier("right")},
        {label, "Transparent", TValue::OfBoolean(false)},
        {label, "ParentFont", TValue::OfBoolean(true)},
        {label, "WordWrap", TValue::OfIdentifier("true")},
        {label, "Caption", TValue::OfBinary({65})},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.property);
        try {
            c.component->SetProperty(c.property, c.value);
            ADD_FAILURE() << "accepted";
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string(c.property).substr(0, 4)), std::string::npos)
                << e.what();
        }
    }
    EXPECT_FALSE(form.SetProperty("Colour", TValue::OfIdentifier("clRed")));
    EXPECT_FALSE(form.SetProperty("Font.Size", TValue::OfInteger(8)));
    EXPECT_FALSE(form.SetProperty("Font.Style", TValue::OfSet({"bold"})));
    EXPECT_FALSE(form.SetProperty("Caption.Text", TValue::OfString("x")));
    EXPECT_FALSE(label->SetProperty("Picture", TValue::OfBinary({})));
    EXPECT_EQ(form.EventProperty("OnCreate"), &form.OnCreate);
    EXPECT_EQ(form.EventProperty("OnDestroy"), nullptr); // the owner's, never a description's
    EXPECT_EQ(label->EventProperty("OnCreate"), nullptr);
    // Extreme coordinates from a module are clamped, not overflowed when scaled.
    EXPECT_TRUE(label->SetProperty("Left", TValue::OfInteger(INT32_MAX)));
    EXPECT_LE(label->Left(), 0x7FFF);
}
