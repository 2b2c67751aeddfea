// Runtime life, tasks, registration, addresses, cookies and storage.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "browsers.h"
#include "runtime.h"
#include "scripts.h"
#include "standin.h"

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;

struct Extension {
  std::u16string name;
  std::u16string code;
  Held handler;
};

struct PendingTask {
  Held task;
  TCefThreadId thread;
  Clock::time_point due;
};

struct Runtime {
  std::mutex lock;
  bool initialized = false;
  bool ever_initialized = false;
  std::thread::id ui_thread;
  CapturedSettings settings;
  std::vector<Extension> extensions;
  std::vector<Held> scheme_factories;
  std::deque<PendingTask> tasks;
  bool quit = false;
};

Runtime& R() {
  static Runtime runtime;
  return runtime;
}

CapturedString Capture(const TCefString& s) {
  return {s.str != nullptr, s.dtor != nullptr, s.length, Read(&s)};
}

void WriteReport(const std::string& report, bool clean) {
  if (!clean) std::fprintf(stderr, "libcef stand-in at shutdown:\n%s", report.c_str());
#ifdef _WIN32
  const wchar_t* path = _wgetenv(L"STANDIN_REPORT");
  FILE* file = path ? _wfopen(path, L"wb") : nullptr;
#else
  const char* path = std::getenv("STANDIN_REPORT");
  FILE* file = path ? std::fopen(path, "wb") : nullptr;
#endif
  if (file) {
    std::fputs(report.c_str(), file);
    std::fclose(file);
  }
}

}  // namespace

const CapturedSettings& Settings() { return R().settings; }

bool Initialized() {
  std::lock_guard lock(R().lock);
  return R().initialized;
}

std::vector<std::pair<std::u16string, std::u16string>> Extensions() {
  std::lock_guard lock(R().lock);
  std::vector<std::pair<std::u16string, std::u16string>> result;
  for (const Extension& e : R().extensions) result.emplace_back(e.name, e.code);
  return result;
}

TCefv8Handler* ExtensionHandler(size_t index) {
  std::lock_guard lock(R().lock);
  return index < R().extensions.size() ? R().extensions[index].handler.as<TCefv8Handler>() : nullptr;
}

int PendingTasks() {
  std::lock_guard lock(R().lock);
  return static_cast<int>(R().tasks.size());
}

void QuitMessageLoop() {
  std::lock_guard lock(R().lock);
  R().quit = true;
}

void RunDueTasks() {
  Runtime& r = R();
  std::deque<PendingTask> due;
  {
    std::lock_guard lock(r.lock);
    Clock::time_point now = Clock::now();
    for (auto it = r.tasks.begin(); it != r.tasks.end();) {
      if (it->due <= now) {
        due.push_back(std::move(*it));
        it = r.tasks.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (PendingTask& t : due) {
    if (TCefTask* task = t.task.as<TCefTask>(); task->execute) task->execute(task, t.thread);
    t.task.reset();
  }
}

}  // namespace standin

using namespace standin;

int32_t cef_initialize(const TCefSettings* settings) {
  if (Enter("cef_initialize")) return 0;
  Runtime& r = R();
  std::lock_guard lock(r.lock);
  if (r.initialized) {
    RecordError("cef_initialize called while initialised");
    return 0;
  }
  if (!settings || settings->size < sizeof(TCefSettings)) {
    RecordError("cef_initialize with a settings record of the wrong size");
    return 0;
  }
  CapturedSettings& c = r.settings;
  c.bytes.assign(reinterpret_cast<const uint8_t*>(settings),
                 reinterpret_cast<const uint8_t*>(settings) + sizeof(TCefSettings));
  c.strings["cache_path"] = Capture(settings->cache_path);
  c.strings["user_agent"] = Capture(settings->user_agent);
  c.strings["product_version"] = Capture(settings->product_version);
  c.strings["locale"] = Capture(settings->locale);
  c.strings["log_file"] = Capture(settings->log_file);
  c.plugin_paths = ListItems(settings->extra_plugin_paths);
#ifdef _WIN32
  // The cache directory is the runtime's to make, as the real one does at start (paths of
  // the program's kind are Windows paths: elsewhere nothing is made).
  if (const CapturedString& cache = c.strings["cache_path"]; !cache.text.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(cache.text), ignored);
  }
#endif
  r.initialized = true;
  r.ever_initialized = true;
  r.ui_thread = std::this_thread::get_id();
  r.quit = false;
  return 1;
}

void cef_shutdown() {
  Enter("cef_shutdown");
  Runtime& r = R();
  std::vector<Extension> extensions;
  std::vector<Held> factories;
  std::deque<PendingTask> tasks;
  {
    std::lock_guard lock(r.lock);
    if (!r.initialized) RecordError("cef_shutdown called while not initialised");
    r.initialized = false;
    extensions.swap(r.extensions);
    factories.swap(r.scheme_factories);
    tasks.swap(r.tasks);
  }
  // The runtime lets go of every program object it still holds.
  CloseAllBrowsers();
  script::Shutdown();
  extensions.clear();
  factories.clear();
  tasks.clear();
  bool clean = false;
  std::string report = Report(clean);
  WriteReport(report, clean);
}

void cef_do_message_loop_work() {
  Enter("cef_do_message_loop_work");
  if (!Initialized()) {
    RecordError("cef_do_message_loop_work called while not initialised");
    return;
  }
  RunDueTasks();
  RunBrowserWork();
}

void cef_run_message_loop() {
  Enter("cef_run_message_loop");
  if (!Initialized()) {
    RecordError("cef_run_message_loop called while not initialised");
    return;
  }
  for (;;) {
    {
      std::lock_guard lock(R().lock);
      if (R().quit) {
        R().quit = false;
        return;
      }
    }
    RunDueTasks();
    RunBrowserWork();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

TCefBool cef_register_extension(const TCefString* extension_name, const TCefString* javascript_code,
                                TCefv8Handler* handler) {
  Held held(handler, "extension handler");
  if (Enter("cef_register_extension")) return 0;
  std::lock_guard lock(R().lock);
  if (!R().initialized) {
    RecordError("cef_register_extension called while not initialised");
    return 0;
  }
  R().extensions.push_back({Read(extension_name), Read(javascript_code), std::move(held)});
  return 1;
}

TCefBool cef_register_custom_scheme(const TCefString*, TCefBool, TCefBool, TCefBool) {
  return Enter("cef_register_custom_scheme") ? 0 : 1;
}

TCefBool cef_register_scheme_handler_factory(const TCefString*, const TCefString*,
                                             TCefSchemeHandlerFactory* factory) {
  Held held(factory, "scheme handler factory");
  if (Enter("cef_register_scheme_handler_factory")) return 0;
  std::lock_guard lock(R().lock);
  R().scheme_factories.push_back(std::move(held));
  return 1;
}

TCefBool cef_clear_scheme_handler_factories() {
  if (Enter("cef_clear_scheme_handler_factories")) return 0;
  std::vector<Held> factories;
  {
    std::lock_guard lock(R().lock);
    factories.swap(R().scheme_factories);
  }
  return 1;
}

TCefBool cef_add_cross_origin_whitelist_entry(const TCefString*, const TCefString*, const TCefString*, TCefBool) {
  return Enter("cef_add_cross_origin_whitelist_entry") ? 0 : 1;
}

TCefBool cef_remove_cross_origin_whitelist_entry(const TCefString*, const TCefString*, const TCefString*,
                                                 TCefBool) {
  return Enter("cef_remove_cross_origin_whitelist_entry") ? 0 : 1;
}

TCefBool cef_clear_cross_origin_whitelist() { return Enter("cef_clear_cross_origin_whitelist") ? 0 : 1; }

TCefBool cef_currently_on(TCefThreadId threadId) {
  Enter("cef_currently_on");
  std::lock_guard lock(R().lock);
  return threadId == TID_UI && R().initialized && std::this_thread::get_id() == R().ui_thread ? 1 : 0;
}

namespace {
TCefBool Post(TCefThreadId threadId, TCefTask* task, int32_t delay_ms) {
  Held held(task, "task");
  std::lock_guard lock(R().lock);
  if (!task || !R().initialized) return 0;
  R().tasks.push_back({std::move(held), threadId, Clock::now() + std::chrono::milliseconds(delay_ms)});
  return 1;
}
}  // namespace

TCefBool cef_post_task(TCefThreadId threadId, TCefTask* task) {
  if (Enter("cef_post_task")) {
    ReleaseArgument(task, "task");
    return 0;
  }
  return Post(threadId, task, 0);
}

TCefBool cef_post_delayed_task(TCefThreadId threadId, TCefTask* task, int32_t delay_ms) {
  if (Enter("cef_post_delayed_task")) {
    ReleaseArgument(task, "task");
    return 0;
  }
  return Post(threadId, task, delay_ms < 0 ? 0 : delay_ms);
}

TCefBool cef_parse_url(const TCefString* url, TCefUrlParts* parts) {
  if (Enter("cef_parse_url") || !parts) return 0;
  std::u16string spec = Read(url);
  size_t scheme_end = spec.find(u"://");
  if (scheme_end == std::u16string::npos || scheme_end == 0) return 0;
  std::u16string rest = spec.substr(scheme_end + 3);
  size_t path_at = rest.find_first_of(u"/?");
  std::u16string authority = rest.substr(0, path_at);
  std::u16string tail = path_at == std::u16string::npos ? u"" : rest.substr(path_at);
  std::u16string user, password, host = authority, port;
  if (size_t at = authority.rfind(u'@'); at != std::u16string::npos) {
    std::u16string credentials = authority.substr(0, at);
    host = authority.substr(at + 1);
    size_t colon = credentials.find(u':');
    user = credentials.substr(0, colon);
    if (colon != std::u16string::npos) password = credentials.substr(colon + 1);
  }
  if (size_t colon = host.rfind(u':'); colon != std::u16string::npos) {
    port = host.substr(colon + 1);
    host = host.substr(0, colon);
  }
  size_t query_at = tail.find(u'?');
  std::u16string path = tail.substr(0, query_at);
  std::u16string query = query_at == std::u16string::npos ? u"" : tail.substr(query_at + 1);
  if (path.empty()) path.push_back(u'/');
  Assign(&parts->spec, spec);
  Assign(&parts->scheme, spec.substr(0, scheme_end));
  Assign(&parts->username, user);
  Assign(&parts->password, password);
  Assign(&parts->host, host);
  Assign(&parts->port, port);
  Assign(&parts->path, path);
  Assign(&parts->query, query);
  return 1;
}

TCefBool cef_create_url(const TCefUrlParts* parts, TCefString* url) {
  if (Enter("cef_create_url") || !parts || !url) return 0;
  std::u16string spec = Read(&parts->spec);
  if (spec.empty()) {
    std::u16string scheme = Read(&parts->scheme), host = Read(&parts->host);
    if (scheme.empty() || host.empty()) return 0;
    spec = scheme + u"://";
    if (std::u16string user = Read(&parts->username); !user.empty()) {
      spec += user;
      if (std::u16string password = Read(&parts->password); !password.empty()) spec += u":" + password;
      spec += u"@";
    }
    spec += host;
    if (std::u16string port = Read(&parts->port); !port.empty()) spec += u":" + port;
    std::u16string path = Read(&parts->path);
    spec += path.empty() ? u"/" : path;
    if (std::u16string query = Read(&parts->query); !query.empty()) spec += u"?" + query;
  }
  Assign(url, spec);
  return 1;
}

TCefBool cef_visit_all_cookies(TCefCookieVisitor* visitor) {
  ReleaseArgument(visitor, "cookie visitor");
  return Enter("cef_visit_all_cookies") ? 0 : 1;
}

TCefBool cef_visit_url_cookies(const TCefString*, TCefBool, TCefCookieVisitor* visitor) {
  ReleaseArgument(visitor, "cookie visitor");
  return Enter("cef_visit_url_cookies") ? 0 : 1;
}

TCefBool cef_set_cookie(const TCefString*, const TCefCookie*) { return Enter("cef_set_cookie") ? 0 : 1; }

TCefBool cef_delete_cookies(const TCefString*, const TCefString*) { return Enter("cef_delete_cookies") ? 0 : 1; }

TCefBool cef_visit_storage(TCefStorageType, const TCefString*, const TCefString*, TCefStorageVisitor* visitor) {
  ReleaseArgument(visitor, "storage visitor");
  return Enter("cef_visit_storage") ? 0 : 1;
}

TCefBool cef_set_storage(TCefStorageType, const TCefString*, const TCefString*, const TCefString*) {
  return Enter("cef_set_storage") ? 0 : 1;
}

TCefBool cef_delete_storage(TCefStorageType, const TCefString*, const TCefString*) {
  return Enter("cef_delete_storage") ? 0 : 1;
}
