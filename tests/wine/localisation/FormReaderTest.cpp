// The readers against damaged or unfitting descriptions in real resources: each raises EReadError,
// and the half-made form is destroyed with its windows. Also a description larger than the buffer.
#include "Exceptions.h"
#include "Image.h"
#include "TestForms.h"

#include <gtest/gtest.h>

using namespace attente;
using namespace attente::test;

namespace {

using FormReader = TDescriptionTest;

// Creates a probe form of class `name` (its resource is the upper-cased name) and returns the error.
std::string CreationError(const char* name, const TClassInfo* parent = &TForm::StaticClassInfo) {
    const TClassInfo info{name, parent, nullptr};
    TProbeForm form(info);
    return MessageOf<EReadError>([&] { InitForm(form); });
}

} // namespace

TEST_F(FormReader, UnfittingDescriptionsRaiseReadErrors) {
    struct Case {
        const char* className;
        const char* fragment;
    };
    const Case cases[] = {
        {"TTruncatedForm", "illisible : un nom de classe dépasse"},
        {"TBadMagicForm", "signature"},
        {"TUnknownClassForm", "Classe TButton non trouvée"},
        {"TWrongTypeForm", "Caption attend un texte"},
        {"TUnknownPropertyForm", "Propriété Colour inconnue pour la classe TUnknownPropertyForm"},
        {"TBadIdentifierForm", "round pour BorderStyle"},
        {"TMissingRoutineForm", "Routine NoSuchRoutine non trouvée pour OnPaint"},
        {"TLabelInLabelForm", "Outer ne peut pas contenir Inner"},
        {"TWrongRootForm", "La description de TOtherForm ne convient pas"},
        {"TBadIconForm", "Image d'icône incorrecte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        const std::string message = CreationError(c.className);
        EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
        EXPECT_EQ(Screen.FormCount(), 0);
    }
}

TEST_F(FormReader, ALevelMakingAgainAComponentOfItsBaseRaises) {
    static constexpr TClassInfo base{"TDupBaseForm", &TForm::StaticClassInfo, nullptr};
    const std::string message = CreationError("TDupDerivedForm", &base);
    EXPECT_NE(message.find("lab existe déjà"), std::string::npos) << message;
}

TEST_F(FormReader, ReadsADescriptionLargerThanItsBuffer) {
    const TClassInfo info{"TBigForm", &TForm::StaticClassInfo, nullptr};
    HRSRC resource = FindResourceA(nullptr, "TBIGFORM", MAKEINTRESOURCEA(10));
    ASSERT_NE(resource, nullptr);
    EXPECT_GT(SizeofResource(nullptr, resource), 4096u);
    TProbeForm form(info);
    InitForm(form);
    ASSERT_EQ(form.ComponentCount(), 6);
    for (const char* name : {"P1", "P2", "P3", "P4", "P5", "P6"}) {
        auto* image = dynamic_cast<TImage*>(form.FindComponent(name));
        ASSERT_NE(image, nullptr) << name;
        EXPECT_NE(image->Icon(), nullptr);
    }
    EXPECT_EQ(dynamic_cast<TImage*>(form.FindComponent("P6"))->Left(), 7);
}

TEST_F(FormReader, ReloadReaderTakesEveryRecordAsAnUpdate) {
    // TBASEFORM makes Lab1 at creation; read again with the reload reader, the same record updates
    // the existing label instead of failing on a repeated name.
    auto form = CreateForm<TBaseForm>();
    TLabel* const lab1 = form->Lab1();
    lab1->SetCaption(L"code");
    EXPECT_TRUE(ReadFormResource("TBASEFORM", nullptr, *form));
    EXPECT_EQ(form->Lab1(), lab1);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(lab1->Caption(), L"\u00c9tiquette de base");
    // A creation-time read of the same description into the same form is refused instead.
    const std::string twice = MessageOf<EReadError>([&] { InitForm(*form); });
    EXPECT_NE(twice.find("Lab1 existe déjà"), std::string::npos) << twice;
}
