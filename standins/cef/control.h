#pragma once
// The stand-in's test control interface: extra exports, beside the runtime's own, through
// which tests read what the runtime received, count calls, inject failures and check the
// accounts. Tests resolve them from the loaded library by name.

#include <cstdint>

#include "cef/ceflib/capi_base.h"

#define STANDIN_CONTROL_FUNCTIONS(X)                                                          \
  /* Stand-in objects (or allocations of a kind, by name) alive now; null kind: all. */     \
  X(int32_t, standin_live_objects, (const char* kind))                                        \
  /* Program structures the stand-in holds references to. */                                 \
  X(int32_t, standin_held_objects, (void))                                                    \
  X(int32_t, standin_error_count, (void))                                                     \
  X(void, standin_clear_errors, (void))                                                       \
  /* The accounts as text ("clean\n" when there is nothing to report); answers the length. */ \
  X(int32_t, standin_report, (char* buffer, int32_t size))                                    \
  X(int32_t, standin_call_count, (const char* export_name))                                   \
  X(int32_t, standin_total_calls, (void))                                                     \
  /* The next `times` calls of the export fail: they answer 0 or null. */                     \
  X(void, standin_fail_next, (const char* export_name, int32_t times))                        \
  X(int32_t, standin_initialized, (void))                                                     \
  /* The settings record cef_initialize received, byte for byte; answers its size. */         \
  X(int32_t, standin_settings_record, (void* buffer, int32_t size))                           \
  /* A string field of that record by its field name: answers the length, -1 when its str    \
     was null; *flags gets 1 when it had a dtor. */                                           \
  X(int32_t, standin_settings_string, (const char* field, char16_t* buffer, int32_t size, int32_t* flags)) \
  X(int32_t, standin_plugin_path_count, (void))                                               \
  X(int32_t, standin_plugin_path, (int32_t index, char16_t* buffer, int32_t size))            \
  X(int32_t, standin_extension_count, (void))                                                 \
  X(int32_t, standin_extension_name, (int32_t index, char16_t* buffer, int32_t size))         \
  X(int32_t, standin_pending_tasks, (void))                                                   \
  X(void, standin_quit_message_loop, (void))                                                  \
  /* A new stand-in object of a kind ("Request", "PostData", "PostDataElement",              \
     "Response", "StreamReader") with one reference for the caller. */                        \
  X(TCefBase*, standin_create_object, (const char* kind))                                     \
  /* The count of a live stand-in object, or -1 when it is not one. */                        \
  X(int32_t, standin_refcount, (TCefBase* object))                                            \
  STANDIN_CONTROL_NETWORK(X)                                                                  \
  STANDIN_CONTROL_BROWSING(X)                                                                 \
  STANDIN_CONTROL_DOCUMENTS(X)

// The network and the document parser, for tests of their own.
#define STANDIN_CONTROL_NETWORK(X)

// Browsers, frames, page loads, history and windows.
#define STANDIN_CONTROL_BROWSING(X)

// Documents and their events, streams, requests and drag data.
#define STANDIN_CONTROL_DOCUMENTS(X)
