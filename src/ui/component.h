#pragma once
// Components: objects owned by their owner and destroyed with it, found again by name.

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct LayoutProperty;
class FormReader;

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Destroys the owned components, the last created first.
  virtual ~TComponent();

  TComponent* Owner() const { return owner_; }
  // Hosted by a visual form designer instead of the running program; a component is
  // designed when its owner is. The running program never sets it.
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing) { designing_ = designing; }
  const std::u16string& Name() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }

  // Creates a component owned by this one.
  template <class T, class... Args>
  T* CreateOwned(Args&&... args) {
    auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = owned.get();
    Adopt(std::move(owned));
    return raw;
  }

  TComponent* FindComponent(const std::u16string& name) const;
  template <class T>
  T* Find(const std::u16string& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }

  // A property read from a form resource; false when this class has no such property.
  virtual bool ReadProperty(const LayoutProperty& property, FormReader& reader) { return false; }
  // After the component and its siblings have been read from a form resource.
  virtual void Loaded() {}

 protected:
  // Destroys the owned components now, the last created first.
  void DestroyComponents() noexcept;

 private:
  void Adopt(std::unique_ptr<TComponent> component);
  TComponent* owner_;
  bool designing_;
  std::u16string name_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

// The sender of an event.
using TObject = TComponent;

}  // namespace ui
