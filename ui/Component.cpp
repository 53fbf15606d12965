// Ownership, names and published routines of components.
#include "Component.h"

#include "AsciiCase.h"

#include <algorithm>

namespace attente {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

bool TComponent::ClassChainHas(std::string_view className) const {
    for (const TClassInfo* c = &ClassInfo(); c; c = c->Parent)
        if (EqualsIgnoringAsciiCase(c->Name, className)) return true;
    return false;
}

void TComponent::DestroyComponents() {
    // Newest first: later components may refer to earlier ones, never the other way round.
    while (!components_.empty())
        delete components_.back();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (EqualsIgnoringAsciiCase(c->name_, name)) return c;
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
        if (EqualsIgnoringAsciiCase(m.Name, name)) return m.Routine;
    return {};
}

void SplitPropertyName(std::string_view name, std::string_view& head, std::string_view& rest) {
    const std::size_t dot = name.find('.');
    head = name.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

} // namespace attente
