// HTTP exchanges through libcurl.

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "network.h"

namespace standin::net::backend {
namespace {

// Browsers announce themselves; servers and logs may look at it.
constexpr const char* kUserAgent = "Mozilla/5.0 (Windows NT 6.1) QVN-Standin/1.0";

// curl_global_init is not thread-safe and must run once before any handle exists.
bool GlobalInit() {
  static std::once_flag once;
  static CURLcode result = CURLE_OK;
  std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_ALL); });
  return result == CURLE_OK;
}

struct EasyDeleter {
  void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;

struct ListDeleter {
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
using List = std::unique_ptr<curl_slist, ListDeleter>;

void Append(List& list, const std::string& line) {
  curl_slist* extended = curl_slist_append(list.get(), line.c_str());
  if (!extended) throw std::bad_alloc();
  list.release();
  list.reset(extended);
}

std::string_view TrimLine(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// Each status line starts a new answer (after a 1xx one), so the headers start afresh.
void ReadStatusLine(std::string_view line, HttpResponse& response) {
  response.headers.clear();
  size_t space = line.find(' ');
  if (space == std::string_view::npos) return;
  std::string_view rest = line.substr(space + 1);
  size_t second = rest.find(' ');
  response.statusText = second == std::string_view::npos ? std::string() : std::string(TrimLine(rest.substr(second + 1)));
}

size_t OnHeader(char* data, size_t size, size_t count, void* context) {
  auto& response = *static_cast<HttpResponse*>(context);
  std::string_view raw(data, size * count);
  try {
    if (raw.substr(0, 5) == "HTTP/") {
      ReadStatusLine(TrimLine(raw), response);
    } else if (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t') && !response.headers.empty()) {
      std::string& value = response.headers.back().second;  // a folded line
      value += ' ';
      value += TrimLine(raw);
    } else if (size_t colon = raw.find(':'); colon != std::string_view::npos) {
      response.headers.emplace_back(std::string(TrimLine(raw.substr(0, colon))), std::string(TrimLine(raw.substr(colon + 1))));
    }
  } catch (...) {
    return 0;  // curl reports a write error
  }
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* context) {
  auto& body = static_cast<HttpResponse*>(context)->body;
  try {
    body.insert(body.end(), data, data + size * count);
  } catch (...) {
    return 0;
  }
  return size * count;
}

void SetMethod(CURL* easy, const HttpRequest& request) {
  if (request.method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    return;
  }
  if (request.method == "GET" && request.body.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    return;
  }
  // A body goes as given, with this method; curl sends no body of its own.
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.empty() ? "" : reinterpret_cast<const char*>(request.body.data()));
  if (request.method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
}

List RequestHeaders(const HttpRequest& request) {
  List list;
  // curl would otherwise wait for "100 Continue" before sending a larger body.
  Append(list, "Expect:");
  bool hasContentType = false;
  for (const auto& [name, value] : request.headers) {
    if (name.size() == 12 && curl_strnequal(name.c_str(), "content-type", 12)) hasContentType = true;
    Append(list, value.empty() ? name + ";" : name + ": " + value);
  }
  // curl labels a body as a form unless told otherwise; a browser sends none for raw bodies.
  if (!hasContentType && !request.body.empty()) Append(list, "Content-Type:");
  return list;
}

// Where the connection really goes, with the address and Host header kept as they are.
List ConnectTo(const UrlParts& parts, const std::string& connectHost, int connectPort) {
  List list;
  if (connectHost != parts.host || connectPort != parts.port) {
    Append(list, parts.host + ":" + std::to_string(parts.port) + ":" + connectHost + ":" + std::to_string(connectPort));
  }
  return list;
}

std::string WithoutFragment(const std::string& url) { return url.substr(0, url.find('#')); }

}  // namespace

HttpResponse Exchange(const HttpRequest& request, const UrlParts& parts, const std::string& connectHost, int connectPort) {
  HttpResponse response;
  if (!GlobalInit()) {
    response.error = "the HTTP library did not start";
    return response;
  }
  Easy easy(curl_easy_init());
  if (!easy) {
    response.error = "the HTTP library has no handle";
    return response;
  }
  CURL* e = easy.get();
  std::string url = WithoutFragment(request.url);
  List headers = RequestHeaders(request);
  List connectTo = ConnectTo(parts, connectHost, connectPort);
  char errorText[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);  // no SIGALRM on worker threads
  curl_easy_setopt(e, CURLOPT_PROXY, "");     // test hosts are never reached through a proxy
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeoutMs));
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
  if (connectTo) curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectTo.get());
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &response);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &response);
  SetMethod(e, request);

  CURLcode result = curl_easy_perform(e);
  long status = 0;
  curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
  // A connection that breaks once the answer has begun leaves a partial answer, which a
  // download still has a use for.
  if (status > 0 && (result == CURLE_PARTIAL_FILE || result == CURLE_RECV_ERROR)) {
    response.status = static_cast<int>(status);
    response.cutShort = true;
    response.error = errorText[0] ? errorText : curl_easy_strerror(result);
    return response;
  }
  if (result != CURLE_OK) {
    HttpResponse failed;  // whatever arrived before the failure is not an answer
    failed.error = errorText[0] ? errorText : curl_easy_strerror(result);
    return failed;
  }
  response.status = static_cast<int>(status);
  response.ok = true;
  return response;
}

}  // namespace standin::net::backend
