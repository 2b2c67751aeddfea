#pragma once
// The control's client: the thirteen control-side handlers, handed to the runtime on request
// until the control lets them go.

#include "cef/cefgui/chromium_events.h"
#include "cef/ceflib/client.h"

// The control-side handler class of each kind in the client's order, as X(kind, class): the
// kind's getter is Get<kind>Handler and its field F<kind>Handler.
#define CEF_CUSTOM_CLIENT_HANDLERS(X)                                                                   \
  X(LifeSpan, TCustomLifeSpanHandler) X(Load, TCustomLoadHandler) X(Request, TCustomRequestHandler)      \
  X(Display, TCustomDisplayHandler) X(Focus, TCustomFocusHandler) X(Keyboard, TCustomKeyboardHandler)    \
  X(Menu, TCustomMenuHandler) X(Print, TCustomPrintHandler) X(Find, TCustomFindHandler)                  \
  X(Jsdialog, TCustomJsDialogHandler) X(Jsbinding, TCustomJsBindingHandler)                            \
  X(Render, TCustomRenderHandler) X(Drag, TCustomDragHandler)

namespace cef {

// What the control calls as it goes, so that no later runtime callback reaches it.
class IClientHandlerRelease : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{E76F6888-D9C3-4FCE-9C23-E89659820A36}");
  using Parent = base::IInterface;

  // Detaches every handler from the control and drops the client's references to them;
  // from then on every getter answers null.
  virtual void ReleaseHandlers() = 0;
};

// Every getter hands out its kind's handler, one new reference each time, until
// ReleaseHandlers. A handler lives on while the runtime still holds it.
class TCustomClientHandler : public TCefClientOwn, public virtual IClientHandlerRelease {
 public:
  // Creates the thirteen handlers in kind order, each linked to crm.
  explicit TCustomClientHandler(IChromiumEvents& crm);

#define CEF_DECLARE_CUSTOM_GETTER(kind, klass) void Get##kind##Handler(Ref<ICefBase>& handler) override;
  CEF_CUSTOM_CLIENT_HANDLERS(CEF_DECLARE_CUSTOM_GETTER)
#undef CEF_DECLARE_CUSTOM_GETTER

  void ReleaseHandlers() override;

 protected:
  ~TCustomClientHandler() override;
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  Ref<ICefBase> FLifeSpanHandler, FLoadHandler, FRequestHandler, FDisplayHandler, FFocusHandler, FKeyboardHandler,
      FMenuHandler, FPrintHandler, FFindHandler, FJsdialogHandler, FJsbindingHandler, FRenderHandler, FDragHandler;
};

}  // namespace cef
