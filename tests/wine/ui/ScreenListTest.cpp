// The screen list against real windows: creation order, removal on destruction, focus to the front;
// and names, published routines and fields of components.
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
    form.Show();
    SetActiveWindow(form.Handle());
    SetFocus(form.Handle());
}

class TPublishingForm : public TForm {
    ATTENTE_FORM_CLASS(TPublishingForm, TForm)
  public:
    explicit TPublishingForm(TComponent* owner) : TForm(owner) {
        PublishMethod("FormCreate", &TPublishingForm::FormCreate);
        PublishComponent("LabWait", LabWait);
    }
    void FormCreate(TComponent& sender) { Sender = &sender; }
    TComponent* Sender = nullptr;
    TLabel* LabWait = nullptr;
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

TEST(Components, NamesAreIdentifiersUniqueWithinTheirOwner) {
    TForm form;
    auto* first = new TLabel(&form);
    auto* second = new TLabel(&form);
    first->SetName("LabWait");
    second->SetName("Other");
    EXPECT_THROW(second->SetName("labwait"), EReadError);
    for (const char* bad : {"", "1abc", "a b", "a.b", "é"})
        EXPECT_THROW(second->SetName(bad), EReadError) << bad;
    EXPECT_EQ(second->Name(), "Other");
    EXPECT_EQ(form.FindComponent("LABWAIT"), first);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_THROW(form.Components(2), EListError);
    delete first;
    EXPECT_EQ(form.FindComponent("LabWait"), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Components, PublishedRoutinesAndFieldsAreFoundByName) {
    TPublishingForm form(nullptr);
    EXPECT_EQ(TPublishingForm::StaticClassInfo.Parent, &TForm::StaticClassInfo);
    EXPECT_TRUE(form.InheritsFrom(TComponent::StaticClassInfo));
    EXPECT_STREQ(form.ClassInfo().Name, "TPublishingForm");
    EXPECT_EQ(form.ClassInfo().Module, nullptr);

    TNotifyEvent routine = form.FindMethod("formcreate");
    ASSERT_TRUE(routine);
    routine(form);
    EXPECT_EQ(form.Sender, &form);
    EXPECT_FALSE(form.FindMethod("FormPaint"));

    auto* label = new TLabel(&form);
    EXPECT_EQ(form.LabWait, nullptr);
    label->SetName("LabWait");
    EXPECT_EQ(form.LabWait, label);
    label->SetName("Renamed");
    EXPECT_EQ(form.LabWait, nullptr);
    label->SetName("LabWait");
    delete label;
    EXPECT_EQ(form.LabWait, nullptr);
    // A component of that name but another class cannot sit in the field.
    auto* wrong = new TForm(&form);
    EXPECT_THROW(wrong->SetName("LabWait"), EReadError);
    EXPECT_EQ(form.LabWait, nullptr);
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
        {&form, "BorderStyle", TValue::OfIdentifier("round")},
        {&form, "BorderIcons", TValue::OfSet({"close"})},
        {&form, "BorderIcons", TValue::OfIdentifier("systemMenu")},
        {&form, "Position", TValue::OfBoolean(true)},
        {&form, "Color", TValue::OfIdentifier("clNoSuchColour")},
        {&form, "Color", TValue::OfInteger(0x01000000)},
        {&form, "Color", TValue::OfInteger(-1)},
        {&form, "Font.Height", TValue::OfString("-13")},
        {&form, "Font.Charset", TValue::OfInteger(256)},
        {&form, "Font.Charset", TValue::OfIdentifier("klingon")},
        {&form, "Font.Style", TValue::OfSet({"blinking"})},
        {&form, "Visible", TValue::OfInteger(1)},
        {label, "Alignment", TValue::OfIdentifier("justify")},
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
    EXPECT_FALSE(form.SetProperty("Caption.Text", TValue::OfString("x")));
    EXPECT_FALSE(label->SetProperty("Picture", TValue::OfBinary({})));
    EXPECT_EQ(form.EventProperty("OnCreate"), &form.OnCreate);
    EXPECT_EQ(label->EventProperty("OnCreate"), nullptr);
    // Extreme coordinates from a module are clamped, not overflowed when scaled.
    EXPECT_TRUE(label->SetProperty("Left", TValue::OfInteger(INT32_MAX)));
    EXPECT_LE(label->Left(), 0x7FFF);
}
