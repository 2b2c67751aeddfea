#include "cef/ceflib/client.h"

#include <type_traits>

#include "cef/ceflib/guard.h"

namespace cef {
namespace {

// The entry of a getter whose handler structure is S. The temporary reference goes on
// every way out; a failing getter is reported and answers null.
template <auto Getter, class S>
S* CEF_CALLBACK HandOut(TCefClient* self) {
  return Guarded(static_cast<S*>(nullptr), [self] {
    Ref<ICefBase> handler;
    (TCefBaseOwn::Self<TCefClientOwn>(self)->*Getter)(handler);
    return reinterpret_cast<S*>(handler ? handler->Wrap() : nullptr);
  });
}

}  // namespace

TCefClientOwn::TCefClientOwn() : TCefBaseOwn(sizeof(TCefClient)) {
  TCefClient* client = Struct<TCefClient>();
#define CEF_FILL_CLIENT_GETTER(getter, entry) \
  client->entry = &HandOut<&TCefClientOwn::getter, std::remove_pointer_t<decltype(client->entry(client))>>;
  CEF_CLIENT_HANDLER_KINDS(CEF_FILL_CLIENT_GETTER)
#undef CEF_FILL_CLIENT_GETTER
}

#define CEF_DEFINE_CLIENT_GETTER(getter, entry) \
  void TCefClientOwn::getter(Ref<ICefBase>&) {}
CEF_CLIENT_HANDLER_KINDS(CEF_DEFINE_CLIENT_GETTER)
#undef CEF_DEFINE_CLIENT_GETTER

}  // namespace cef
