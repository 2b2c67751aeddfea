// HTTP exchanges through WinHTTP.

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <string>
#include <utility>

#include "network.h"

namespace standin::net::backend {
namespace {

// The same announcement as the other backend, so services see one browser.
constexpr const wchar_t* kUserAgent = L"Mozilla/5.0 (Windows NT 6.1) QVN-Standin/1.0";

struct InternetDeleter {
  void operator()(void* handle) const noexcept { WinHttpCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetDeleter>;

class Failed {
 public:
  Failed(const char* step, DWORD code) : step_(step), code_(code) {}
  std::string Text() const;

 private:
  const char* step_;
  DWORD code_;
};

std::string Failed::Text() const {
  const char* what = "";
  switch (code_) {
    case ERROR_WINHTTP_CANNOT_CONNECT: what = "could not connect"; break;
    case ERROR_WINHTTP_TIMEOUT: what = "timed out"; break;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: what = "name not resolved"; break;
    case ERROR_WINHTTP_CONNECTION_ERROR: what = "connection reset"; break;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: what = "invalid server response"; break;
    case ERROR_WINHTTP_INVALID_URL: what = "invalid address"; break;
    default: what = "failed"; break;
  }
  return std::string(step_) + ": " + what + " (WinHTTP error " + std::to_string(code_) + ")";
}

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), n);
  return result;
}

// Header text arrives widened from the wire's octets. When every character fits a byte,
// those are the octets, and UTF-8 names in them survive; otherwise it is real text.
std::string Narrow(std::wstring_view text) {
  bool bytes = true;
  for (wchar_t c : text) bytes = bytes && c < 0x100;
  if (bytes) return std::string(text.begin(), text.end());
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), n, nullptr, nullptr);
  return result;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

std::wstring HostHeader(const UrlParts& parts) {
  int standard = parts.scheme == "https" ? 443 : 80;
  std::string host = parts.host;
  if (parts.port != standard) {
    host += ':';
    host += std::to_string(parts.port);
  }
  std::wstring header = L"Host: ";
  header += Widen(host);
  return header;
}

void AddHeader(HINTERNET request, const std::wstring& line, DWORD flags) {
  if (!WinHttpAddRequestHeaders(request, line.c_str(), static_cast<DWORD>(-1L), flags)) {
    throw Failed("adding a header", GetLastError());
  }
}

void AddHeaders(HINTERNET request, const HttpRequest& http, const UrlParts& parts) {
  AddHeader(request, HostHeader(parts), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  for (const auto& [name, value] : http.headers) {
    AddHeader(request, Widen(name) + L": " + Widen(value), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  }
}

std::wstring QueryText(HINTERNET request, DWORD what) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes, WINHTTP_NO_HEADER_INDEX)) return {};
  text.resize(bytes / sizeof(wchar_t));
  return text;
}

// The raw header block: the status line first, then one header a line, in wire order.
void ReadHeaders(HINTERNET request, HttpResponse& response) {
  std::string raw = Narrow(QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF));
  std::string_view rest = raw;
  bool first = true;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = Trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (std::exchange(first, false) || line.empty()) continue;
    size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
      response.headers.emplace_back(std::string(Trim(line.substr(0, colon))), std::string(Trim(line.substr(colon + 1))));
    }
  }
  response.statusText = Narrow(QueryText(request, WINHTTP_QUERY_STATUS_TEXT));
  DWORD status = 0, size = sizeof(status);
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    throw Failed("reading the status", GetLastError());
  }
  response.status = static_cast<int>(status);
}

void ReadBody(HINTERNET request, std::vector<uint8_t>& body) {
  while (true) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) throw Failed("receiving the body", GetLastError());
    if (available == 0) return;
    size_t at = body.size();
    body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, body.data() + at, available, &read)) throw Failed("receiving the body", GetLastError());
    body.resize(at + read);
    if (read == 0) return;
  }
}

bool ShorterThanAnnounced(const HttpResponse& response) {
  std::string length = response.Header("Content-Length");
  bool number = !length.empty() && length.size() <= 18 && length.find_first_not_of("0123456789") == std::string::npos;
  return number && response.body.size() < std::stoull(length);
}

Internet OpenRequest(HINTERNET connection, const HttpRequest& http, const UrlParts& parts) {
  DWORD flags = parts.scheme == "https" ? WINHTTP_FLAG_SECURE : 0;
  std::wstring method = Widen(http.method), path = Widen(parts.pathAndQuery);
  Internet request(WinHttpOpenRequest(connection, method.c_str(), path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request) throw Failed("opening the request", GetLastError());
  // Redirects are followed above this layer, and cookies belong to the browser.
  DWORD disable = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
  WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable));
  int timeout = http.timeoutMs;
  WinHttpSetTimeouts(request.get(), timeout, timeout, timeout, timeout);
  AddHeaders(request.get(), http, parts);
  return request;
}

void Run(const HttpRequest& http, const UrlParts& parts, const std::string& connectHost, int connectPort,
         HttpResponse& response) {
  Internet session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) throw Failed("starting WinHTTP", GetLastError());
  std::wstring host = Widen(connectHost);
  Internet connection(WinHttpConnect(session.get(), host.c_str(), static_cast<INTERNET_PORT>(connectPort), 0));
  if (!connection) throw Failed("connecting", GetLastError());
  Internet request = OpenRequest(connection.get(), http, parts);
  DWORD size = static_cast<DWORD>(http.body.size());
  void* body = size ? const_cast<uint8_t*>(http.body.data()) : WINHTTP_NO_REQUEST_DATA;
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, size, size, 0)) {
    throw Failed("sending the request", GetLastError());
  }
  if (!WinHttpReceiveResponse(request.get(), nullptr)) throw Failed("receiving the answer", GetLastError());
  ReadHeaders(request.get(), response);
  if (http.method == "HEAD") return;
  // Once the answer has begun, a broken connection leaves a partial answer, which a
  // download still has a use for. Some WinHTTPs end such a body quietly: then only the
  // announced length tells.
  try {
    ReadBody(request.get(), response.body);
  } catch (const Failed& failure) {
    response.cutShort = true;
    response.error = failure.Text();
    return;
  }
  if (ShorterThanAnnounced(response)) {
    response.cutShort = true;
    response.error = "receiving the body: the connection closed before the announced length";
  }
}

}  // namespace

HttpResponse Exchange(const HttpRequest& request, const UrlParts& parts, const std::string& connectHost, int connectPort) {
  HttpResponse response;
  try {
    Run(request, parts, connectHost, connectPort, response);
    response.ok = !response.cutShort;
    return response;
  } catch (const Failed& failure) {
    HttpResponse failed;  // whatever arrived before the failure is not an answer
    failed.error = failure.Text();
    return failed;
  }
}

}  // namespace standin::net::backend
