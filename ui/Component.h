// Components: a name, an owner that destroys them, the components they own, and what descriptions need
// of them (properties set by name, event properties, the routines a form publishes).
#pragma once

#include "ClassInfo.h"
#include "PropertyValue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace attente {

class TComponent;

// The signature of every event routine; `sender` is the component whose event fired.
using TNotifyEvent = std::function<void(TComponent& sender)>;

class TComponent {
  public:
    static constexpr TClassInfo StaticClassInfo{"TComponent", nullptr, nullptr};
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo; }
    // Whether the class chain holds a class of that name (ASCII letter case ignored).
    bool ClassChainHas(std::string_view className) const;

    // An owned component is destroyed by its owner, at the latest when the owner is.
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Names come from descriptions, whose reader has already checked them.
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // The owned component of that name (ASCII letter case ignored), or null.
    TComponent* FindComponent(std::string_view name) const;
    // The owned component of that name when it is a T (its class chain holds T), or null; the chain
    // answers what dynamic_cast would, without the runtime's type search in the exe.
    template <class T> T* FindComponentAs(std::string_view name) const {
        TComponent* component = FindComponent(name);
        for (const TClassInfo* info = component ? &component->ClassInfo() : nullptr; info;
             info = info->Parent)
            if (info == &T::StaticClassInfo) return static_cast<T*>(component);
        return nullptr;
    }

    // Sets one property from a description; false when the class has no property of that name.
    // A property of the right name with a value of the wrong type raises EReadError.
    virtual bool SetProperty(std::string_view name, const TValue& value);
    // The slot behind an event property ("OnCreate"), or null when there is none of that name.
    virtual TNotifyEvent* EventProperty(std::string_view name);
    // The routine published under `name`, bound to this component; empty when there is none.
    TNotifyEvent FindMethod(std::string_view name) const;

    // While a description record is being applied, components put off work that depends on several
    // properties (sizing to content), so the order of a record's properties does not matter; ending it
    // runs Loaded. Loading nests: a window's code may hold a component across a reload and its own
    // changes, so that they reach the screen once, when the outermost hold ends.
    bool Loading() const { return loading_ > 0; }
    void BeginLoading() { ++loading_; }
    void EndLoading() {
        if (loading_ > 0) --loading_;
        if (loading_ == 0) Loaded();
    }
    // The record could not be read to its end: this level of loading stops, Loaded does not run.
    void AbortLoading() noexcept {
        if (loading_ > 0) --loading_;
    }

  protected:
    virtual void Loaded() {}

    // Destroys every owned component now, newest first (a window destroys its controls before its own
    // window goes).
    void DestroyComponents();

    // Publishes an event routine for descriptions to bind by name, typically in the constructor:
    //     PublishMethod("FormCreate", &TForm1::FormCreate);
    template <class T> void PublishMethod(std::string name, void (T::*method)(TComponent& sender)) {
        static_assert(std::is_base_of_v<TComponent, T>);
        T* self = static_cast<T*>(this);
        methods_.push_back(
            {std::move(name), [self, method](TComponent& sender) { (self->*method)(sender); }});
    }

  private:
    struct TMethodEntry {
        std::string Name;
        TNotifyEvent Routine;
    };

    std::string name_;
    int loading_ = 0;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TMethodEntry> methods_;
};

// Splits "Font.Height" into "Font" and "Height"; a name without a dot gives an empty rest.
void SplitPropertyName(std::string_view name, std::string_view& head, std::string_view& rest);

} // namespace attente
