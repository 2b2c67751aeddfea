// Redirects, host mapping and the address helpers around the HTTP library.

#include "network.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#ifdef _WIN32
#include <windows.h>
#endif

namespace standin::net {
namespace {

constexpr int kMaxRedirects = 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCopy(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), Lower);
  return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool ParsePort(std::string_view text, int& port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  port = value;
  return true;
}

// Splits "name:port" (or "[v6]:port"); the port stays as it is when none is given.
bool SplitHostPort(std::string_view text, std::string& host, int& port) {
  size_t colon = text.rfind(':');
  size_t bracket = text.rfind(']');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    if (!ParsePort(text.substr(colon + 1), port)) return false;
    text = text.substr(0, colon);
  }
  host = LowerCopy(text);
  return !host.empty();
}

// ---- Header parameters (Content-Type, Content-Disposition) ----

struct Parameter {
  std::string name;  // lower case
  std::string value;  // unquoted
};

// The value before the first ';' and the parameters after it, quoted strings honoured.
std::string_view SplitParameters(std::string_view header, std::vector<Parameter>& parameters) {
  size_t semicolon = header.find(';');
  std::string_view main = Trim(header.substr(0, semicolon));
  size_t pos = semicolon == std::string_view::npos ? header.size() : semicolon + 1;
  while (pos < header.size()) {
    size_t eq = header.find_first_of("=;", pos);
    if (eq == std::string_view::npos || header[eq] == ';') {
      pos = eq == std::string_view::npos ? header.size() : eq + 1;
      continue;
    }
    Parameter p{LowerCopy(Trim(header.substr(pos, eq - pos))), {}};
    pos = eq + 1;
    while (pos < header.size() && IsBlank(header[pos])) ++pos;
    if (pos < header.size() && header[pos] == '"') {
      for (++pos; pos < header.size() && header[pos] != '"'; ++pos) {
        if (header[pos] == '\\' && pos + 1 < header.size()) ++pos;
        p.value += header[pos];
      }
      pos = header.find(';', pos);
      pos = pos == std::string_view::npos ? header.size() : pos + 1;
    } else {
      size_t end = header.find(';', pos);
      if (end == std::string_view::npos) end = header.size();
      p.value = std::string(Trim(header.substr(pos, end - pos)));
      pos = end + 1;
    }
    parameters.push_back(std::move(p));
  }
  return main;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    int hi = -1, lo = -1;
    if (text[i] == '%' && i + 2 < text.size()) {
      hi = HexValue(text[i + 1]);
      lo = HexValue(text[i + 2]);
    }
    if (hi >= 0 && lo >= 0) {
      result += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string result;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      result += static_cast<char>(c);
    } else {
      result += static_cast<char>(0xC0 | (c >> 6));
      result += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return result;
}

// RFC 5987's charset'language'percent-encoded form; "" when the charset is not one we read.
std::string DecodeExtendedValue(std::string_view value) {
  size_t first = value.find('\'');
  size_t second = first == std::string_view::npos ? first : value.find('\'', first + 1);
  if (second == std::string_view::npos) return {};
  std::string charset = LowerCopy(value.substr(0, first));
  std::string bytes = PercentDecode(value.substr(second + 1));
  if (charset == "utf-8") return bytes;
  if (charset == "iso-8859-1") return Latin1ToUtf8(bytes);
  return {};
}

// A suggested name is a name, never a path: only its last component counts.
std::string LastPathComponent(std::string name) {
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  return name;
}

// ---- Address resolution ----

struct UrlPieces {
  std::string_view scheme;     // without ':'
  bool hasAuthority = false;
  std::string_view authority;  // without "//"
  std::string_view path;
  bool hasQuery = false;
  std::string_view query;  // without '?'
  bool hasFragment = false;
  std::string_view fragment;  // without '#'
};

bool IsSchemeChar(char c, bool first) {
  bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return alpha || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

std::string_view SchemeOf(std::string_view url) {
  for (size_t i = 0; i < url.size(); ++i) {
    if (url[i] == ':') return i > 1 ? url.substr(0, i) : std::string_view();  // "C:" is a drive
    if (!IsSchemeChar(url[i], i == 0)) return {};
  }
  return {};
}

UrlPieces Pieces(std::string_view url) {
  UrlPieces p;
  p.scheme = SchemeOf(url);
  if (!p.scheme.empty()) url.remove_prefix(p.scheme.size() + 1);
  if (size_t hash = url.find('#'); hash != std::string_view::npos) {
    p.hasFragment = true;
    p.fragment = url.substr(hash + 1);
    url = url.substr(0, hash);
  }
  if (size_t question = url.find('?'); question != std::string_view::npos) {
    p.hasQuery = true;
    p.query = url.substr(question + 1);
    url = url.substr(0, question);
  }
  if (url.substr(0, 2) == "//") {
    p.hasAuthority = true;
    size_t slash = url.find('/', 2);
    if (slash == std::string_view::npos) slash = url.size();
    p.authority = url.substr(2, slash - 2);
    url = url.substr(slash);
  }
  p.path = url;
  return p;
}

// Removes "." and ".." segments as RFC 3986 does; ".." never climbs above the root.
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> out;
  bool absolute = !path.empty() && path.front() == '/';
  if (absolute) path.remove_prefix(1);
  bool trailingSlash = false;
  while (true) {
    size_t slash = path.find('/');
    std::string_view segment = path.substr(0, slash);
    bool last = slash == std::string_view::npos;
    trailingSlash = false;
    if (segment == "..") {
      if (!out.empty()) out.pop_back();
      trailingSlash = true;
    } else if (segment == ".") {
      trailingSlash = true;
    } else {
      out.push_back(segment);
    }
    if (last) break;
    path.remove_prefix(slash + 1);
  }
  std::string result = absolute ? "/" : "";
  for (size_t i = 0; i < out.size(); ++i) {
    if (i) result += '/';
    result += out[i];
  }
  if (trailingSlash && !out.empty()) result += '/';
  return result;
}

std::string Compose(std::string_view scheme, const UrlPieces& p, const std::string& path, bool hasQuery,
                    std::string_view query, bool hasFragment, std::string_view fragment) {
  std::string result(scheme);
  result += ':';
  if (p.hasAuthority) {
    result += "//";
    result += p.authority;
  }
  result += path;
  if (hasQuery) {
    result += '?';
    result += query;
  }
  if (hasFragment) {
    result += '#';
    result += fragment;
  }
  return result;
}

// The directory part of the base's path joined with a relative path.
std::string MergePaths(const UrlPieces& base, std::string_view relative) {
  if (base.hasAuthority && base.path.empty()) {
    std::string rooted(1, '/');
    rooted += relative;
    return rooted;
  }
  size_t slash = base.path.rfind('/');
  std::string merged(slash == std::string_view::npos ? std::string_view() : base.path.substr(0, slash + 1));
  merged += relative;
  return merged;
}

bool IsDrivePath(std::string_view path) {
  return path.size() >= 3 && path[0] == '/' && IsSchemeChar(path[1], true) && (path[2] == ':' || path[2] == '|') &&
         (path.size() == 3 || path[3] == '/');
}

// An absolute path on a file: base stays on the base's drive, as browsers do on Windows.
std::string KeepDrive(std::string_view scheme, std::string_view basePath, std::string_view path) {
  if (scheme != "file" || !IsDrivePath(basePath) || IsDrivePath(path)) return std::string(path);
  return std::string(basePath.substr(0, 3)) + std::string(path);
}

bool IsSpecialScheme(std::string_view scheme) {
  return EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https") || EqualsNoCase(scheme, "file");
}

std::string ResolveParsed(std::string_view base, std::string_view relative) {
  std::string rel(relative);
  UrlPieces b = Pieces(base);
  if (IsSpecialScheme(b.scheme)) std::replace(rel.begin(), rel.end(), '\\', '/');
  UrlPieces r = Pieces(rel);
  if (!r.scheme.empty()) {
    if (!IsSpecialScheme(r.scheme)) return rel;  // mailto:, javascript: and the like stand alone
    if (!EqualsNoCase(r.scheme, b.scheme) || r.hasAuthority) {
      return Compose(LowerCopy(r.scheme), r, RemoveDotSegments(r.path), r.hasQuery, r.query, r.hasFragment, r.fragment);
    }
    // "http:page" against an http base is relative, as browsers read it.
    rel.erase(0, r.scheme.size() + 1);
    r = Pieces(rel);
  }
  if (b.scheme.empty()) return rel;
  std::string scheme = LowerCopy(b.scheme);
  if (r.hasAuthority) {
    return Compose(scheme, r, RemoveDotSegments(r.path), r.hasQuery, r.query, r.hasFragment, r.fragment);
  }
  if (!b.hasAuthority && !b.path.empty() && b.path.front() != '/') return rel;  // "about:blank" and the like
  if (r.path.empty()) {
    bool keepQuery = !r.hasQuery;
    return Compose(scheme, b, std::string(b.path), keepQuery ? b.hasQuery : true, keepQuery ? b.query : r.query,
                   r.hasFragment, r.fragment);
  }
  std::string path = r.path.front() == '/' ? KeepDrive(scheme, b.path, r.path) : MergePaths(b, r.path);
  return Compose(scheme, b, RemoveDotSegments(path), r.hasQuery, r.query, r.hasFragment, r.fragment);
}

// ---- Host mapping ----

std::string HostsVariable() {
#ifdef _WIN32
  // The process environment, not the C runtime's copy: tests set it with either.
  wchar_t buffer[4096];
  DWORD n = GetEnvironmentVariableW(L"STANDIN_HOSTS", buffer, 4096);
  if (n == 0 || n >= 4096) return {};
  std::string result;
  for (DWORD i = 0; i < n; ++i) result += static_cast<char>(buffer[i] < 0x80 ? buffer[i] : '?');
  return result;
#else
  const char* value = std::getenv("STANDIN_HOSTS");
  return value ? value : "";
#endif
}

// One "name[:port]=address[:port]" entry; a name without a port matches every port.
bool MatchEntry(std::string_view entry, std::string_view host, int port, std::string& connectHost, int& connectPort) {
  size_t eq = entry.find('=');
  if (eq == std::string_view::npos) return false;
  std::string name;
  int namePort = 0;
  if (!SplitHostPort(Trim(entry.substr(0, eq)), name, namePort)) return false;
  if (name != LowerCopy(host) || (namePort != 0 && namePort != port)) return false;
  std::string address;
  int addressPort = port;
  if (!SplitHostPort(Trim(entry.substr(eq + 1)), address, addressPort)) return false;
  connectHost = address;
  connectPort = addressPort;
  return true;
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

void RemoveHeader(HeaderList& headers, std::string_view name) {
  std::erase_if(headers, [&](const auto& h) { return EqualsNoCase(h.first, name); });
}

// The request the next hop sends: 303, and 301 or 302 after a POST, become a GET without body.
void PrepareRedirect(HttpRequest& request, int status, const std::string& location) {
  bool toGet = (status == 303 && request.method != "HEAD") ||
               ((status == 301 || status == 302) && request.method == "POST");
  if (toGet) {
    request.method = "GET";
    request.body.clear();
    RemoveHeader(request.headers, "Content-Type");
    RemoveHeader(request.headers, "Content-Length");
  }
  RemoveHeader(request.headers, "Host");
  request.url = location;
}

HttpResponse Failure(std::string error, const std::string& url) {
  HttpResponse response;
  response.error = std::move(error);
  response.finalUrl = url;
  return response;
}

HttpResponse OneExchange(const HttpRequest& request) {
  UrlParts parts;
  if (!SplitUrl(request.url, parts)) return Failure("not an http address: " + request.url, request.url);
  std::string connectHost = parts.host;
  int connectPort = parts.port;
  MappedHost(parts.host, parts.port, connectHost, connectPort);
  HttpResponse response = backend::Exchange(request, parts, connectHost, connectPort);
  response.finalUrl = request.url;
  return response;
}

HttpResponse FetchUnguarded(const HttpRequest& original) {
  HttpRequest request = original;
  for (int hop = 0;; ++hop) {
    HttpResponse response = OneExchange(request);
    if (!response.ok || !request.followRedirects || !IsRedirect(response.status)) return response;
    std::string location = response.Header("Location");
    if (location.empty()) return response;
    if (hop == kMaxRedirects) return Failure("too many redirects", request.url);
    PrepareRedirect(request, response.status, ResolveUrl(request.url, std::string(Trim(location))));
  }
}

}  // namespace

// ---- HttpResponse ----

std::string HttpResponse::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsNoCase(key, name)) return value;
  }
  return {};
}

std::string HttpResponse::MimeType() const {
  std::vector<Parameter> parameters;
  return LowerCopy(SplitParameters(Header("Content-Type"), parameters));
}

std::string HttpResponse::Charset() const {
  std::vector<Parameter> parameters;
  SplitParameters(Header("Content-Type"), parameters);
  for (const Parameter& p : parameters) {
    if (p.name == "charset") return LowerCopy(Trim(p.value));
  }
  return {};
}

bool HttpResponse::IsAttachment() const {
  std::vector<Parameter> parameters;
  return EqualsNoCase(SplitParameters(Header("Content-Disposition"), parameters), "attachment");
}

std::string HttpResponse::SuggestedFileName() const {
  std::vector<Parameter> parameters;
  SplitParameters(Header("Content-Disposition"), parameters);
  for (const Parameter& p : parameters) {
    if (p.name == "filename*") {
      std::string name = LastPathComponent(DecodeExtendedValue(p.value));
      if (!name.empty()) return name;
    }
  }
  for (const Parameter& p : parameters) {
    if (p.name == "filename") return LastPathComponent(p.value);
  }
  return {};
}

// ---- Free functions ----

HttpResponse Fetch(const HttpRequest& request) {
  try {
    return FetchUnguarded(request);
  } catch (const std::exception& e) {
    return Failure(std::string("fetch failed: ") + e.what(), request.url);
  } catch (...) {
    return Failure("fetch failed", request.url);
  }
}

bool MappedHost(std::string_view host, int port, std::string& connectHost, int& connectPort) {
  std::string table = HostsVariable();
  std::string_view rest = table;
  while (!rest.empty()) {
    size_t semicolon = rest.find(';');
    std::string_view entry = rest.substr(0, semicolon);
    if (MatchEntry(entry, host, port, connectHost, connectPort)) return true;
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return false;
}

bool SplitUrl(std::string_view url, UrlParts& parts) {
  UrlPieces p = Pieces(Trim(url));
  std::string scheme = LowerCopy(p.scheme);
  if ((scheme != "http" && scheme != "https") || !p.hasAuthority) return false;
  std::string_view authority = p.authority;
  if (size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  int port = scheme == "https" ? 443 : 80;
  std::string host;
  if (!SplitHostPort(authority, host, port)) return false;
  parts.scheme = scheme;
  parts.host = host;
  parts.port = port;
  parts.pathAndQuery = p.path.empty() ? "/" : std::string(p.path);
  if (p.hasQuery) {
    parts.pathAndQuery += '?';
    parts.pathAndQuery += p.query;
  }
  return true;
}

std::string ResolveUrl(std::string_view base, std::string_view relative) {
  return ResolveParsed(Trim(base), Trim(relative));
}

}  // namespace standin::net
