#pragma once
// The stand-in's one door to the network: HTTP exchanges through a real HTTP library
// (libcurl natively, WinHTTP on Windows) behind one small interface, redirects followed
// here, and the host mapping that points built-in host names at local test services.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin::net {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method = "GET";
  std::string url;  // an absolute http:// address, UTF-8
  HeaderList headers;
  std::vector<uint8_t> body;
  bool followRedirects = true;  // at most 20 hops; 303 (and 301/302 after a POST) become GET
  int timeoutMs = 30000;
};

struct HttpResponse {
  bool ok = false;        // an answer arrived, whatever its status
  std::string error;      // what went wrong when no answer arrived
  int status = 0;
  std::string statusText;
  std::string finalUrl;   // the address that answered, after redirects
  HeaderList headers;     // of the final answer, in order
  std::vector<uint8_t> body;
  // The answer began but the connection broke before its body was whole: ok is false and
  // error says why, yet status, headers and the part of the body that arrived are kept.
  bool cutShort = false;

  // The first header of that name (any case), or "" when there is none.
  std::string Header(std::string_view name) const;
  // The content type without parameters, lower case ("text/html"); "" when absent.
  std::string MimeType() const;
  // The charset parameter of the content type, lower case; "" when absent.
  std::string Charset() const;
  // True for Content-Disposition: attachment.
  bool IsAttachment() const;
  // The file name that Content-Disposition suggests (filename*= UTF-8 decoded first,
  // then filename=), or "" when it names none.
  std::string SuggestedFileName() const;
};

// One exchange, blocking, callable from any thread. Transport failures come back as
// ok == false with an error text; nothing throws.
HttpResponse Fetch(const HttpRequest& request);

// Where a host's connections really go, from the environment variable STANDIN_HOSTS:
// "service.example=127.0.0.1:8123;portal.example=127.0.0.1:8124". The address and its
// Host header keep the original name, as with an entry in a hosts file. Answers false
// when the host is not mapped.
bool MappedHost(std::string_view host, int port, std::string& connectHost, int& connectPort);

// The parts of an http:// address; false when it is not one.
struct UrlParts {
  std::string scheme;  // lower case
  std::string host;    // lower case
  int port = 80;
  std::string pathAndQuery;  // "/" at least
};
bool SplitUrl(std::string_view url, UrlParts& parts);
// An address relative to a base, as a browser resolves links and redirects.
std::string ResolveUrl(std::string_view base, std::string_view relative);

namespace backend {
// One request and its answer, without following redirects: the HTTP library's part.
// connectHost and connectPort say where to connect; the request's address and Host
// header stay as they are.
HttpResponse Exchange(const HttpRequest& request, const UrlParts& parts, const std::string& connectHost,
                      int connectPort);
}  // namespace backend

}  // namespace standin::net
