// Producing a load's response: over HTTP on a worker thread, from a file, or from what the
// program gave. Nothing here touches a browser or a frame: a worker sees only its load.

#include <chrono>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

#include "client_calls.h"
#include "page_fetch.h"
#include "streams.h"

namespace standin {
namespace {

// Long enough for any test service, short enough that shutdown, which waits for running
// fetches, cannot hang for good.
constexpr int kFetchTimeoutMs = 20000;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

int32_t ErrorCodeFor(const std::string& error) {
  std::string text = Lower(error);
  if (text.find("refused") != std::string::npos) return kErrorConnectionRefused;
  if (text.find("resolve") != std::string::npos || text.find("not found") != std::string::npos)
    return kErrorNameNotResolved;
  if (text.find("timed out") != std::string::npos || text.find("timeout") != std::string::npos)
    return kErrorTimedOut;
  return kErrorFailed;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Percent escapes stand for UTF-8 bytes; they are ASCII, so they survive the conversion.
std::u16string PercentDecoded(std::u16string_view text) {
  std::string bytes = ToUtf8(text);
  std::string decoded;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '%' && i + 2 < bytes.size() && HexValue(bytes[i + 1]) >= 0 && HexValue(bytes[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(bytes[i + 1]) * 16 + HexValue(bytes[i + 2])));
      i += 2;
    } else {
      decoded.push_back(bytes[i]);
    }
  }
  return FromUtf8(decoded);
}

std::string Extension(std::u16string_view path) {
  size_t slash = path.find_last_of(u"/\\");
  size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) return {};
  return Lower(ToUtf8(path.substr(dot + 1)));
}

std::u16string BaseName(std::u16string_view path) {
  size_t slash = path.find_last_of(u"/\\");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

void FetchOverHttp(PageLoad& load) {
  net::HttpRequest request;
  request.method = load.params.method;
  request.url = ToUtf8(load.params.url);
  request.headers = load.params.headers;
  request.body = load.params.body;
  request.timeoutMs = kFetchTimeoutMs;
  // Redirects are followed on the UI thread, one hop per request, so that the program
  // hears of each.
  request.followRedirects = false;
  net::HttpResponse answer = net::Fetch(request);
  LoadResponse& r = load.response;
  r.final_url = answer.finalUrl.empty() ? load.params.url : FromUtf8(answer.finalUrl);
  if (!answer.ok && !answer.cutShort) {
    r.failed = true;
    r.error_code = ErrorCodeFor(answer.error);
    r.error_text = FromUtf8(answer.error);
    return;
  }
  // Kept with the reason: a download takes what arrived, a page fails as if nothing had.
  if (answer.cutShort) {
    r.cut_short = true;
    r.error_code = ErrorCodeFor(answer.error);
    r.error_text = FromUtf8(answer.error);
  }
  r.status = answer.status;
  r.status_text = answer.statusText;
  r.mime_type = answer.MimeType();
  r.charset = answer.Charset();
  r.attachment = answer.IsAttachment();
  r.file_name = FromUtf8(answer.SuggestedFileName());
  bool redirect = r.status == 301 || r.status == 302 || r.status == 303 || r.status == 307 || r.status == 308;
  std::string location = answer.Header("Location");
  if (redirect && !location.empty()) r.redirect_to = FromUtf8(net::ResolveUrl(request.url, location));
  r.headers = std::move(answer.headers);
  r.body = std::move(answer.body);
}

// "scheme:rest" where rest does not begin with a digit (which would make it host:port).
bool HasScheme(std::u16string_view url) {
  size_t colon = url.find(u':');
  if (colon == 0 || colon == std::u16string_view::npos) return false;
  auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
  if (!letter(url[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    char16_t c = url[i];
    if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.') return false;
  }
  return colon + 1 >= url.size() || !(url[colon + 1] >= u'0' && url[colon + 1] <= u'9');
}

// Fetches of loads, each on a thread of its own. Finished threads are joined by the work
// function; shutdown joins the rest.
struct Workers {
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
  };
  std::mutex lock;
  std::vector<Worker> running;

  // Only reached when the library goes without a shutdown; joining here could deadlock
  // on the loader's lock, so the threads are left to the process's end.
  ~Workers() {
    for (Worker& w : running)
      if (w.thread.joinable()) w.thread.detach();
  }
};

Workers& W() {
  static Workers workers;
  return workers;
}

}  // namespace

std::u16string NormalizeAddress(std::u16string_view url) {
  while (!url.empty() && (url.front() == u' ' || url.front() == u'\t')) url.remove_prefix(1);
  while (!url.empty() && (url.back() == u' ' || url.back() == u'\t')) url.remove_suffix(1);
  if (url.empty()) return {};
  if (url.find(u"://") != std::u16string_view::npos || HasScheme(url)) return std::u16string(url);
  // A bare host name, as typed into an address bar.
  return u"http://" + std::u16string(url);
}

std::u16string FilePathFromUrl(std::u16string_view url) {
  std::u16string_view rest = url.substr(std::u16string_view(u"file://").size());
  if (StartsWith(rest, u"localhost/")) rest.remove_prefix(std::u16string_view(u"localhost").size());
  rest = rest.substr(0, rest.find_first_of(u"?#"));
#ifdef _WIN32
  // "file:///C:/dir" names the drive path "C:/dir".
  if (rest.size() >= 3 && rest[0] == u'/' && rest[2] == u':') rest.remove_prefix(1);
#endif
  return PercentDecoded(rest);
}

std::string MimeTypeForFile(std::u16string_view path) {
  std::string ext = Extension(path);
  if (ext == "html" || ext == "htm" || ext == "xhtml") return "text/html";
  if (ext == "txt" || ext == "text" || ext == "log" || ext == "csv") return "text/plain";
  if (ext == "css") return "text/css";
  if (ext == "js") return "application/javascript";
  if (ext == "json") return "application/json";
  if (ext == "xml") return "text/xml";
  if (ext == "png" || ext == "gif" || ext == "bmp") return "image/" + ext;
  if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
  return "application/octet-stream";
}

void ProduceLocally(PageLoad& load) {
  LoadResponse& r = load.response;
  const LoadParams& params = load.params;
  r.final_url = params.url;
  r.status = 200;
  r.mime_type = "text/html";
  if (params.origin == LoadParams::Origin::Text) {
    r.has_text = true;
    r.text = params.text;
  } else if (params.origin == LoadParams::Origin::Bytes) {
    r.body = params.content;
  } else if (StartsWith(params.url, u"about:")) {
    r.has_text = true;
  } else if (StartsWith(params.url, u"file:")) {
    std::u16string path = FilePathFromUrl(params.url);
    if (!ReadWholeFile(path, r.body)) {
      r.failed = true;
      r.error_code = kErrorFileNotFound;
      r.error_text = u"The file " + path + u" cannot be read.";
    }
    r.mime_type = MimeTypeForFile(path);
    r.file_name = BaseName(path);
  } else {
    r.failed = true;
    r.error_code = kErrorUnknownUrlScheme;
    r.error_text = u"The address " + params.url + u" has a scheme this browser does not load.";
  }
  load.done.store(true, std::memory_order_release);
}

bool KnownScheme(const LoadParams& params) {
  if (params.origin != LoadParams::Origin::Address) return true;
  for (std::u16string_view scheme : {u"http:", u"https:", u"file:", u"about:", u"data:"})
    if (StartsWith(params.url, scheme)) return true;
  return false;
}

bool NeedsNetwork(const LoadParams& params) {
  return params.origin == LoadParams::Origin::Address && (StartsWith(params.url, u"http://") || StartsWith(params.url, u"https://"));
}

void RunOnWorker(std::shared_ptr<PageLoad> load) {
  auto finished = std::make_shared<std::atomic<bool>>(false);
  Workers& w = W();
  std::lock_guard lock(w.lock);
  try {
    std::thread thread([load, finished] {
      calls::MarkFetchThread();
      auto start = std::chrono::steady_clock::now();
      FetchOverHttp(*load);
      load->response.network_ms =
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
      load->done.store(true, std::memory_order_release);
      finished->store(true, std::memory_order_release);
    });
    w.running.push_back({std::move(thread), finished});
  } catch (const std::exception& e) {
    load->response.failed = true;
    load->response.error_code = kErrorFailed;
    load->response.error_text = FromUtf8(e.what());
    load->done.store(true, std::memory_order_release);
  }
}

void ReapWorkers() {
  std::vector<Workers::Worker> done;
  {
    Workers& w = W();
    std::lock_guard lock(w.lock);
    for (auto it = w.running.begin(); it != w.running.end();) {
      if (it->finished->load(std::memory_order_acquire)) {
        done.push_back(std::move(*it));
        it = w.running.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (Workers::Worker& worker : done) worker.thread.join();
}

void JoinWorkers() noexcept {
  std::vector<Workers::Worker> all;
  {
    Workers& w = W();
    std::lock_guard lock(w.lock);
    all.swap(w.running);
  }
  for (Workers::Worker& worker : all)
    if (worker.thread.joinable()) worker.thread.join();
}

int RunningWorkers() {
  Workers& w = W();
  std::lock_guard lock(w.lock);
  return static_cast<int>(w.running.size());
}

}  // namespace standin
