#pragma once
// Listeners of the application loop: one-method interfaces, several of each, which may be
// added and removed while the loop is calling them.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace ui {

class IMessageHook {
 public:
  // Called for each message the loop takes (a quit request never reaches it). Handled
  // starts false and is shared by all hooks; a handled message is not dispatched.
  virtual void OnMessage(MSG& msg, bool& handled) = 0;

 protected:
  ~IMessageHook() = default;
};

class IIdleHook {
 public:
  // Called each time the queue has run empty. Done starts true and is shared by all hooks;
  // while it stays true the loop waits for the next message.
  virtual void OnIdle(bool& done) = 0;

 protected:
  ~IIdleHook() = default;
};

// A listener list that tolerates changes during a call round: removed listeners are
// skipped at once, added ones take part from the next round.
template <class Hook>
class HookList {
 public:
  void Add(Hook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
  }
  void Remove(Hook* hook) {
    auto it = std::find(hooks_.begin(), hooks_.end(), hook);
    if (it == hooks_.end()) return;
    if (calling_) *it = nullptr;
    else hooks_.erase(it);
  }
  template <class Call>
  void ForEach(Call&& call) {
    struct Round {
      HookList& list;
      explicit Round(HookList& l) : list(l) { ++list.calling_; }
      ~Round() {
        if (--list.calling_ == 0)
          list.hooks_.erase(std::remove(list.hooks_.begin(), list.hooks_.end(), nullptr), list.hooks_.end());
      }
    } round(*this);
    size_t count = hooks_.size();
    for (size_t i = 0; i < count; ++i)
      if (Hook* hook = hooks_[i]) call(*hook);
  }
  bool Empty() const { return hooks_.empty(); }

 private:
  std::vector<Hook*> hooks_;
  int calling_ = 0;
};

}  // namespace ui
