#include "component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    }
}

void TComponent::DestroyComponents()
{
    while (!components_.empty())
        delete components_.back();
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    for (TComponent* component : components_)
        if (component->Name() == name)
            return component;
    return nullptr;
}

bool TComponent::SetProperty(const std::string&, const FormValue&) { return false; }

bool TComponent::SetEvent(const std::string&, TNotifyEvent) { return false; }
