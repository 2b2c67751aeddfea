#include "cef/ceflib/base_own.h"

namespace cef {

TCefBaseOwn::TCefBaseOwn(size_t structSize) { CreateData(structSize); }

TCefBaseOwn::~TCefBaseOwn() = default;

void TCefBaseOwn::CreateData(size_t size) {
  // Pointer-sized slots keep the structure aligned for its pointers; make_unique zeroes them.
  size_t slots = 1 + (size + sizeof(void*) - 1) / sizeof(void*);
  FBlock = std::make_unique<void*[]>(slots);
  FBlock[0] = this;
  FData = &FBlock[1];
  TCefBase* header = Struct();
  header->size = static_cast<uint32_t>(size);
  header->add_ref = &cef_base_add_ref;
  header->release = &cef_base_release;
  header->get_refct = &cef_base_get_refct;
}

TCefBase* TCefBaseOwn::Wrap() noexcept { return CefRetain(Struct()); }

void* TCefBaseOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefBase>(this, iid)) return found;
  return RefCounted::FindInterface(iid);
}

int32_t CEF_CALLBACK TCefBaseOwn::cef_base_add_ref(TCefBase* self) { return FromData(self)->AddRef(); }

int32_t CEF_CALLBACK TCefBaseOwn::cef_base_release(TCefBase* self) { return FromData(self)->Release(); }

int32_t CEF_CALLBACK TCefBaseOwn::cef_base_get_refct(TCefBase* self) { return FromData(self)->RefCount(); }

}  // namespace cef
