// Applying description records to a form and its components.
#include "FormReader.h"

#include "AsciiCase.h"
#include "Exceptions.h"
#include "Image.h"
#include "Label.h"
#include "ProgressBar.h"
#include "ResourceSource.h"
#include "TextFormat.h"

namespace attente {

namespace {

// The classes a description record may make a component of.
struct TCreatableClass {
    const TClassInfo& Info;
    TControl* (*Create)(TComponent* owner);
};

const TCreatableClass kCreatableClasses[] = {
    {TLabel::StaticClassInfo, [](TComponent* owner) -> TControl* { return new TLabel(owner); }},
    {TImage::StaticClassInfo, [](TComponent* owner) -> TControl* { return new TImage(owner); }},
    {TProgressBar::StaticClassInfo, [](TComponent* owner) -> TControl* { return new TProgressBar(owner); }},
};

// Without the module's template the message still names what failed.
constexpr wchar_t kNeutralNamedTemplate[] = L"%s";

} // namespace

std::string NamedResourceMessage(UINT id, const std::string& name) {
    std::wstring templ = LoadResStringW(id);
    if (templ.empty()) templ = kNeutralNamedTemplate;
    return WideToUtf8(FormatTemplate(templ, {{L's', Utf8ToWide(name)}}));
}

TFormReader::TFormReader(TByteSource& source, TForm& root, TForm* scratch)
    : TDescriptionReader(source), root_(root), scratch_(scratch) {}

TFormReader::~TFormReader() {
    for (TComponent* component : stack_)
        component->AbortLoading();
}

void TFormReader::BeginRecord(const TRecordPrefix& prefix, int depth) {
    if (depth == 1) {
        if (!root_.ClassChainHas(prefix.ClassName))
            throw EReadError(Concat({"La description de ", prefix.ClassName,
                                     " ne convient pas à une fenêtre ", root_.ClassInfo().Name}));
        if (!prefix.Inherited()) root_.SetName(prefix.Name);
        stack_.push_back(&Applied(root_));
    } else {
        TComponent& parent = *stack_.back();
        stack_.push_back(
            &Applied(prefix.Inherited() ? ExistingComponent(prefix) : CreateComponent(prefix, parent)));
    }
    stack_.back()->BeginLoading();
}

TComponent& TFormReader::ExistingComponent(const TRecordPrefix& prefix) {
    TComponent* component = root_.FindComponent(prefix.Name);
    if (!component) throw EReadError(NamedResourceMessage(kAncestorNotFoundString, prefix.Name));
    if (!component->ClassChainHas(prefix.ClassName))
        throw EReadError(
            Concat({"Le composant ", prefix.Name, " n'est pas de la classe ", prefix.ClassName}));
    return *component;
}

TComponent& TFormReader::CreateComponent(const TRecordPrefix& prefix, TComponent& parent) {
    if (root_.FindComponent(prefix.Name))
        throw EReadError(Concat({"Un composant nommé ", prefix.Name, " existe déjà"}));
    const TCreatableClass* creatable = nullptr;
    for (const TCreatableClass& c : kCreatableClasses)
        if (EqualsIgnoringAsciiCase(c.Info.Name, prefix.ClassName)) creatable = &c;
    if (!creatable) throw EReadError(Concat({"Classe ", prefix.ClassName, " non trouvée"}));
    // Only the form holds controls.
    if (&parent != &root_)
        throw EReadError(Concat({"Le composant ", parent.Name(), " ne peut pas contenir ", prefix.Name}));
    // The form owns it from the start, and destroys it with itself.
    TControl* control = creatable->Create(&root_);
    control->SetName(prefix.Name);
    control->SetParent(&root_);
    return *control;
}

void TFormReader::ReadProperty(const std::string& name, const TValue& value) {
    TComponent& component = *stack_.back();
    if (TNotifyEvent* slot = component.EventProperty(name)) {
        const std::string& routine = ExpectIdentifier(value, name);
        TNotifyEvent bound = root_.FindMethod(routine);
        if (!bound) throw EReadError(Concat({"Routine ", routine, " non trouvée pour ", name}));
        *slot = std::move(bound);
        return;
    }
    if (!component.SetProperty(name, value))
        throw EReadError(
            Concat({"Propriété ", name, " inconnue pour la classe ", component.ClassInfo().Name}));
}

void TFormReader::EndRecord() {
    TComponent* ended = stack_.back();
    stack_.pop_back();
    ended->EndLoading();
}

TComponent& TFormReader::Applied(TComponent& found) {
    if (!scratch_) return found;
    if (&found == &root_) return *scratch_;
    // Owned by the scratch form, without a parent: no window is ever made for it. Every component
    // of a form was made from the same table.
    const TCreatableClass* creatable = kCreatableClasses;
    while (&creatable->Info != &found.ClassInfo() && creatable + 1 != std::end(kCreatableClasses))
        ++creatable;
    return *creatable->Create(scratch_);
}

void TAsInheritedReader::ReadPrefix(TRecordPrefix& prefix) {
    TFormReader::ReadPrefix(prefix);
    prefix.Flags |= kRecordInherited;
}

} // namespace attente
