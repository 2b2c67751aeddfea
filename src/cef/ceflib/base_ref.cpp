#include "cef/ceflib/base_ref.h"

#include "platform/errors.h"

namespace cef {

TCefBaseRef::TCefBaseRef(void* data) : FData(data) {
  if (!data) throw platform::EAssertionFailed(u"Assertion failure", u"ceflib", 5915);
}

TCefBaseRef::~TCefBaseRef() {
  auto* header = static_cast<TCefBase*>(FData);
  if (header->release) header->release(header);
}

TCefBase* TCefBaseRef::Wrap() noexcept {
  auto* header = static_cast<TCefBase*>(FData);
  if (header->add_ref) header->add_ref(header);
  return header;
}

Ref<ICefBase> TCefBaseRef::UnWrap(void* data) { return UnWrapAs<TCefBaseRef, ICefBase>(data); }

void* TCefBaseRef::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefBase>(this, iid)) return found;
  return RefCounted::FindInterface(iid);
}

}  // namespace cef
