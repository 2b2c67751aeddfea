// The test control exports.

#include <algorithm>
#include <cstring>

#include "control.h"
#include "control_support.h"
#include "requests.h"
#include "runtime.h"
#include "streams.h"

using namespace standin;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_FUNCTIONS(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

int32_t standin_live_objects(const char* kind) {
  if (!kind) return LiveObjects();
  Kind k;
  return KindFromName(kind, k) ? LiveObjects(k) : -1;
}

int32_t standin_held_objects() { return HeldObjects(); }
int32_t standin_error_count() { return ErrorCount(); }
void standin_clear_errors() { ClearErrors(); }

int32_t standin_report(char* buffer, int32_t size) {
  bool clean = false;
  return CopyOut(Report(clean), buffer, size);
}

int32_t standin_call_count(const char* export_name) { return export_name ? CallCount(export_name) : 0; }
int32_t standin_total_calls() { return TotalCalls(); }
void standin_fail_next(const char* export_name, int32_t times) {
  if (export_name) FailNext(export_name, times);
}
int32_t standin_initialized() { return Initialized() ? 1 : 0; }

int32_t standin_settings_record(void* buffer, int32_t size) {
  return CopyOut(Settings().bytes, buffer, size);
}

int32_t standin_settings_string(const char* field, char16_t* buffer, int32_t size, int32_t* flags) {
  const auto& strings = Settings().strings;
  auto it = field ? strings.find(std::string_view(field)) : strings.end();
  if (it == strings.end()) return -2;
  if (flags) *flags = it->second.has_dtor ? 1 : 0;
  if (!it->second.has_str) return -1;
  return CopyOut(it->second.text, buffer, size);
}

int32_t standin_plugin_path_count() { return static_cast<int32_t>(Settings().plugin_paths.size()); }

int32_t standin_plugin_path(int32_t index, char16_t* buffer, int32_t size) {
  const auto& paths = Settings().plugin_paths;
  if (index < 0 || static_cast<size_t>(index) >= paths.size()) return -1;
  return CopyOut(paths[static_cast<size_t>(index)], buffer, size);
}

int32_t standin_extension_count() { return static_cast<int32_t>(Extensions().size()); }

int32_t standin_extension_name(int32_t index, char16_t* buffer, int32_t size) {
  auto extensions = Extensions();
  if (index < 0 || static_cast<size_t>(index) >= extensions.size()) return -1;
  return CopyOut(extensions[static_cast<size_t>(index)].first, buffer, size);
}

int32_t standin_pending_tasks() { return PendingTasks(); }
void standin_quit_message_loop() { QuitMessageLoop(); }

TCefBase* standin_create_object(const char* kind) {
  std::string_view k = kind ? kind : "";
  if (k == "Request") return &Create<Request>()->wire()->base;
  if (k == "PostData") return &Create<PostData>()->wire()->base;
  if (k == "PostDataElement") return &Create<PostDataElement>()->wire()->base;
  if (k == "Response") return &Create<Response>()->wire()->base;
  if (k == "StreamReader") return &Create<StreamReader>(std::vector<uint8_t>{})->wire()->base;
  return nullptr;
}

int32_t standin_refcount(TCefBase* object) { return RefCountOf(object); }
