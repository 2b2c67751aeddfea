// What the request handler hears of a navigation's requests: before browse, before the
// fetch (where the program may redirect, supply or cancel), the response, schemes the
// browser does not know, and servers asking for credentials.

#include "browser_events.h"
#include "browsers.h"
#include "client_calls.h"
#include "page_requests.h"
#include "streams.h"

namespace standin::events {
namespace {

using calls::OutString;
using calls::Raise;
using calls::View;

TCefHandlerNavtype NavigationType(const PageLoad& load) {
  if (load.kind == NavigationKind::BackForward) return NAVTYPE_BACKFORWARD;
  if (load.kind == NavigationKind::Reload) return load.params.method == "POST" ? NAVTYPE_FORMRESUBMITTED : NAVTYPE_RELOAD;
  switch (load.params.trigger) {
    case LoadParams::Trigger::Link:
      return NAVTYPE_LINKCLICKED;
    case LoadParams::Trigger::Form:
      return NAVTYPE_FORMSUBMITTED;
    case LoadParams::Trigger::Other:
      break;
  }
  return NAVTYPE_OTHER;
}

// An address the program wrote, resolved against the one it replaces.
std::u16string Redirected(const std::u16string& from, const std::u16string& to) {
  return NormalizeAddress(FromUtf8(net::ResolveUrl(ToUtf8(from), ToUtf8(to))));
}

}  // namespace

bool BeforeBrowse(Browser& browser, Frame& frame, const PageLoad& load) {
  ObjRef<Request> request = RequestFor(load.params);
  TCefBool redirect = load.redirected ? 1 : 0;
  return !Raise<&TCefRequestHandler::on_before_browse>(browser, frame, request, NavigationType(load), redirect).answer;
}

ResourceAnswer BeforeResourceLoad(Browser& browser, PageLoad& load) {
  ResourceAnswer answer;
  // Content the program gave is not fetched.
  if (load.params.origin != LoadParams::Origin::Address) return answer;
  ObjRef<Request> request = RequestFor(load.params);
  auto response = ObjRef<Response>::Adopt(Create<Response>());
  OutString redirect;
  TCefStreamReader* stream = nullptr;
  int32_t flags = request->flags;
  auto outcome = Raise<&TCefRequestHandler::on_before_resource_load>(browser, request, redirect.get(), &stream,
                                                                     response, flags);
  Held reader(stream, "stream reader");
  if (!outcome.raised) return answer;
  answer.cancelled = outcome.answer != 0;
  if (answer.cancelled) return answer;
  ReadRequestInto(*request.get(), load.params);
  if (std::u16string to = redirect.Text(); !to.empty()) load.params.url = Redirected(load.params.url, to);
  if (reader) {
    answer.supplied = true;
    answer.response = SuppliedResponse(*response.get(), ReadRest(reader.as<TCefStreamReader>()), load.params.url);
  }
  return answer;
}

void ResourceResponse(Browser& browser, const std::u16string& url, const LoadResponse& answer) {
  ObjRef<Response> response = ResponseFor(answer);
  TCefString address = View(url);
  TCefBase* filter = nullptr;
  Raise<&TCefRequestHandler::on_resource_response>(browser, &address, response, &filter);
  // Kept for the call and let go: nothing is filtered.
  Held(filter, "response filter").reset();
}

ProtocolAnswer ProtocolExecution(Browser& browser, const std::u16string& url) {
  TCefString address = View(url);
  TCefBool allow = 0;
  if (Raise<&TCefRequestHandler::on_protocol_execution>(browser, &address, &allow).answer) return ProtocolAnswer::Handled;
  return allow ? ProtocolAnswer::OsExecution : ProtocolAnswer::Refused;
}

bool AuthCredentials(Browser& browser, const AuthChallenge& challenge, std::u16string& user,
                     std::u16string& password) {
  TCefString host = View(challenge.host), realm = View(challenge.realm), scheme = View(challenge.scheme);
  OutString name(user), secret(password);
  TCefBool proxy = challenge.proxy ? 1 : 0;
  auto outcome = Raise<&TCefRequestHandler::get_auth_credentials>(browser, proxy, &host, challenge.port, &realm,
                                                                  &scheme, name.get(), secret.get());
  if (!outcome.answer) return false;
  user = name.Text();
  password = secret.Text();
  return true;
}

}  // namespace standin::events
