#include "ui/component.h"

namespace ui {

TComponent::TComponent(TComponent* owner) : owner_(owner), designing_(owner && owner->Designing()) {}

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() noexcept {
  while (!components_.empty()) components_.pop_back();
}

void TComponent::Adopt(std::unique_ptr<TComponent> component) { components_.push_back(std::move(component)); }

TComponent* TComponent::FindComponent(const std::u16string& name) const {
  for (const auto& c : components_)
    if (c->Name() == name) return c.get();
  return nullptr;
}

}  // namespace ui
