// Ownership, names, published routines and fields of components.
#include "Component.h"

#include "Exceptions.h"

#include <algorithm>

namespace attente {

namespace {

bool IsIdentifier(const std::string& name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

} // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Newest first: later components may refer to earlier ones, never the other way round.
    while (!components_.empty())
        delete components_.back();
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!IsIdentifier(name)) throw EReadError("Nom de composant incorrect : '" + name + "'");
    if (owner_) {
        const TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw EReadError("Un composant nommé " + name + " existe déjà");
    }
    const std::string oldName = name_;
    name_ = name;
    if (owner_) owner_->NameChanged(this, oldName);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("Indice de liste hors limites (" + std::to_string(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name)) return c;
    return nullptr;
}

bool TComponent::SetProperty(std::string_view, const TValue&) {
    return false;
}

TNotifyEvent* TComponent::EventProperty(std::string_view) {
    return nullptr;
}

TNotifyEvent TComponent::FindMethod(std::string_view name) const {
    for (const TMethodEntry& m : methods_)
        if (SameName(m.Name, name)) return m.Routine;
    return {};
}

void TComponent::InsertComponent(TComponent* component) {
    component->owner_ = this;
    components_.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
    for (TFieldEntry& f : fields_)
        if (!component->name_.empty() && SameName(f.Name, component->name_)) f.Assign(nullptr);
}

void TComponent::NameChanged(TComponent* component, const std::string& oldName) {
    for (TFieldEntry& f : fields_) {
        if (!oldName.empty() && SameName(f.Name, oldName)) f.Assign(nullptr);
        if (SameName(f.Name, component->name_)) BindField(f, component);
    }
}

void TComponent::BindField(TFieldEntry& field, TComponent* component) {
    if (!component) return;
    if (!field.Assign(component))
        throw EReadError("Le composant " + component->name_ + " n'est pas de la classe attendue");
}

void SplitPropertyName(std::string_view name, std::string_view& head, std::string_view& rest) {
    const std::size_t dot = name.find('.');
    head = name.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

} // namespace attente
