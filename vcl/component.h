// The root of the component model: named components that own each other, properties set by
// name from form data, and events as nullable callables.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "form_value.h"

class TObject {
public:
    virtual ~TObject() = default;
};

// An event handler: takes the component that raised the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;  // destroys what it owns, newest first

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    // True while form data is being read into the component; no event fires meanwhile.
    bool Loading() const { return loading_; }

    // Form data: set a property or an event by name. False when the class has no such name;
    // throws Exception when the value does not suit the property.
    virtual bool SetProperty(const std::string& name, const FormValue& value);
    virtual bool SetEvent(const std::string& name, TNotifyEvent handler);

    // Begin and end of reading form data; Loaded pushes the state read, once.
    void BeginLoading() { loading_ = true; }
    virtual void Loaded() { loading_ = false; }

protected:
    void DestroyComponents();

private:
    std::string name_;
    TComponent* owner_;  // not owned
    std::vector<TComponent*> components_;
    bool loading_ = false;
};
