#pragma once
// Script contexts: the runtime's JavaScript contexts with their browser, frame and global
// object.

#include "cef/ceflib/browser.h"
#include "cef/ceflib/v8_value.h"

namespace cef {

class ICefv8Context : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{2295A11A-8773-41F2-AD42-308C215062D9}");
  using Parent = ICefBase;

  virtual Ref<ICefBrowser> GetBrowser() = 0;
  virtual Ref<ICefFrame> GetFrame() = 0;
  virtual Ref<ICefv8Value> GetGlobal() = 0;
  virtual bool Enter() = 0;
  virtual bool Exit() = 0;
};
template <>
struct CefWireOf<ICefv8Context> {
  using type = TCefv8Context;
};

class TCefv8ContextRef : public TCefRefOf<ICefv8Context> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefv8Context> UnWrap(TCefv8Context* data);

  // The context running now and the one entered last; null when there is none.
  static Ref<ICefv8Context> Current();
  static Ref<ICefv8Context> Entered();

  Ref<ICefBrowser> GetBrowser() override;
  Ref<ICefFrame> GetFrame() override;
  Ref<ICefv8Value> GetGlobal() override;
  bool Enter() override;
  bool Exit() override;
};

}  // namespace cef
