#pragma once
// A navigation's request as the program sees and changes it, and the HTTP rules a browser
// applies between tries: following redirects and answering Basic challenges.

#include <string>

#include "browser_events.h"
#include "page_load.h"
#include "requests.h"

namespace standin {

// Hops a navigation follows before it fails, and credentials asked per navigation.
inline constexpr int kMaxRedirects = 20;
inline constexpr int kMaxAuthAttempts = 3;

// A request object showing what a load asks for.
ObjRef<Request> RequestFor(const LoadParams& params);
// What the program left in a request object, back into the load's parameters.
void ReadRequestInto(const Request& request, LoadParams& params);
// The answer a program made itself: its response object's status, text, type and headers,
// and the bytes of its stream.
LoadResponse SuppliedResponse(const Response& response, std::vector<uint8_t> body, const std::u16string& url);
// A response object showing what an answer carried.
ObjRef<Response> ResponseFor(const LoadResponse& answer);

// The next hop of a redirect with that status to url: 303, and 301 or 302 after a POST,
// ask with GET and without a body.
void RedirectParams(LoadParams& params, int32_t status, const std::u16string& url);
// True for a 401 carrying a Basic challenge: its realm, and the server's host and port.
bool BasicChallenge(const LoadResponse& response, const std::u16string& url, events::AuthChallenge& challenge);
// Sets the Authorization header for Basic credentials, replacing any earlier one.
void SetAuthorization(net::HeaderList& headers, const std::u16string& user, const std::u16string& password);

}  // namespace standin
