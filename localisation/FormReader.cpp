// Applying description records to a form and its components.
#include "FormReader.h"

#include "ClassRegistry.h"
#include "Exceptions.h"
#include "ResourceSource.h"
#include "TextFormat.h"

#include <memory>

namespace attente {

namespace {

bool ClassChainHas(const TClassInfo& info, std::string_view name) {
    for (const TClassInfo* c = &info; c; c = c->Parent)
        if (SameName(c->Name, name)) return true;
    return false;
}

} // namespace

TFormReader::TFormReader(TByteSource& source, TForm& root) : TDescriptionReader(source), root_(root) {}

TFormReader::~TFormReader() {
    for (TComponent* component : stack_)
        component->AbortLoading();
}

void TFormReader::BeginRecord(const TRecordPrefix& prefix, int depth) {
    if (depth == 1) {
        if (!ClassChainHas(root_.ClassInfo(), prefix.ClassName))
            throw EReadError("La description de " + prefix.ClassName + " ne convient pas à une fenêtre " +
                             root_.ClassInfo().Name);
        if (!prefix.Inherited()) root_.SetName(prefix.Name);
        stack_.push_back(&root_);
    } else {
        TComponent& parent = *stack_.back();
        stack_.push_back(prefix.Inherited() ? &ExistingComponent(prefix) : &CreateComponent(prefix, parent));
    }
    stack_.back()->BeginLoading();
}

TComponent& TFormReader::ExistingComponent(const TRecordPrefix& prefix) {
    TComponent* component = root_.FindComponent(prefix.Name);
    if (!component) {
        const std::wstring text =
            FormatTemplate(LoadResStringW(kAncestorNotFoundString), {{L's', Utf8ToWide(prefix.Name)}});
        throw EReadError(WideToUtf8(text));
    }
    if (!ClassChainHas(component->ClassInfo(), prefix.ClassName))
        throw EReadError("Le composant " + prefix.Name + " n'est pas de la classe " + prefix.ClassName);
    return *component;
}

TComponent& TFormReader::CreateComponent(const TRecordPrefix& prefix, TComponent& parent) {
    if (root_.FindComponent(prefix.Name))
        throw EReadError("Un composant nommé " + prefix.Name + " existe déjà");
    const TClassInfo* info = FindComponentClass(prefix.ClassName);
    if (!info || !info->Create) throw EReadError("Classe " + prefix.ClassName + " non trouvée");
    // The form owns it from the start; the guard destroys it (leaving the form) if it cannot be named
    // or placed.
    std::unique_ptr<TComponent> component(info->Create(&root_));
    component->SetName(prefix.Name);
    if (auto* control = dynamic_cast<TControl*>(component.get())) {
        auto* container = dynamic_cast<TControl*>(&parent);
        if (!container || !container->IsContainer())
            throw EReadError("Le composant " + parent.Name() + " ne peut pas contenir " + prefix.Name);
        control->SetParent(container);
    }
    return *component.release();
}

void TFormReader::ReadProperty(const std::string& name, const TValue& value) {
    TComponent& component = *stack_.back();
    if (TNotifyEvent* slot = component.EventProperty(name)) {
        const std::string& routine = ExpectIdentifier(value, name);
        TNotifyEvent bound = root_.FindMethod(routine);
        if (!bound) throw EReadError("Routine " + routine + " non trouvée pour " + name);
        *slot = std::move(bound);
        return;
    }
    if (!component.SetProperty(name, value))
        throw EReadError("Propriété " + name + " inconnue pour la classe " + component.ClassInfo().Name);
}

void TFormReader::EndRecord() {
    stack_.pop_back();
}

void TAsInheritedReader::ReadPrefix(TRecordPrefix& prefix) {
    TFormReader::ReadPrefix(prefix);
    prefix.Flags |= kRecordInherited;
}

} // namespace attente
