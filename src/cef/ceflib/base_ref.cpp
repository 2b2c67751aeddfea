#include "cef/ceflib/base_ref.h"

#include "platform/errors.h"

namespace cef {

TCefBaseRef::TCefBaseRef(TCefBase* data) : FData(data) {
  if (!data) throw platform::EAssertionFailed(u"Assertion failure", u"ceflib", 5915);
}

TCefBaseRef::~TCefBaseRef() {
  if (FData->release) FData->release(FData);
}

TCefBase* TCefBaseRef::Wrap() noexcept { return CefRetain(FData); }

Ref<ICefBase> TCefBaseRef::UnWrap(TCefBase* data) { return UnWrapAs<TCefBaseRef, ICefBase>(data); }

void* TCefBaseRef::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefBase>(this, iid)) return found;
  return RefCounted::FindInterface(iid);
}

}  // namespace cef
