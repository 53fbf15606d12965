// Components: a name, an owner that destroys them, the components they own, and what descriptions need
// of them (properties set by name, event properties, the routines and fields a form publishes).
#pragma once

#include "ClassInfo.h"
#include "PropertyValue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace attente {

// The signature of every event routine; `sender` is the component whose event fired.
using TNotifyEvent = std::function<void(TComponent& sender)>;

class TComponent {
  public:
    static constexpr TClassInfo StaticClassInfo{"TComponent", nullptr, nullptr, nullptr};
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo; }
    bool InheritsFrom(const TClassInfo& other) const { return ClassInfo().InheritsFrom(other); }

    // An owned component is destroyed by its owner, at the latest when the owner is.
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    // Raises EReadError for a name that is not an identifier or that another component of the same
    // owner already has (names compare without regard to ASCII letter case).
    void SetName(const std::string& name);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError outside 0..ComponentCount()-1.
    TComponent* Components(int index) const;
    // The owned component of that name, or null.
    TComponent* FindComponent(std::string_view name) const;

    // Sets one property from a description; false when the class has no property of that name.
    // A property of the right name with a value of the wrong type raises EReadError.
    virtual bool SetProperty(std::string_view name, const TValue& value);
    // The slot behind an event property ("OnCreate"), or null when there is none of that name.
    virtual TNotifyEvent* EventProperty(std::string_view name);
    // The routine published under `name`, bound to this component; empty when there is none.
    TNotifyEvent FindMethod(std::string_view name) const;

    // While a description record is being applied, components put off work that depends on several
    // properties (sizing to content), so the order of a record's properties does not matter; ending it
    // runs Loaded.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    void EndLoading() {
        loading_ = false;
        Loaded();
    }
    // The record could not be read to its end: loading stops, Loaded does not run.
    void AbortLoading() noexcept { loading_ = false; }

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
    // Publishes a field that points at the owned component of that name while it exists:
    //     PublishComponent("LabWait", LabWait);   // TLabel* LabWait = nullptr;
    // A component of that name but of another class raises EReadError when it is named.
    template <class T> void PublishComponent(std::string name, T*& field) {
        fields_.push_back({std::move(name), [&field](TComponent* c) {
                               T* typed = c ? dynamic_cast<T*>(c) : nullptr;
                               if (c && !typed) return false;
                               field = typed;
                               return true;
                           }});
        BindField(fields_.back(), FindComponent(fields_.back().Name));
    }

  private:
    struct TMethodEntry {
        std::string Name;
        TNotifyEvent Routine;
    };
    struct TFieldEntry {
        std::string Name;
        std::function<bool(TComponent*)> Assign; // false when the component's class does not fit
    };

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void NameChanged(TComponent* component, const std::string& oldName);
    void BindField(TFieldEntry& field, TComponent* component);

    std::string name_;
    bool loading_ = false;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TMethodEntry> methods_;
    std::vector<TFieldEntry> fields_;
};

// Splits "Font.Height" into "Font" and "Height"; a name without a dot gives an empty rest.
void SplitPropertyName(std::string_view name, std::string_view& head, std::string_view& rest);

} // namespace attente
