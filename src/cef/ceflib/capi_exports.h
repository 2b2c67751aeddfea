#pragma once
// The runtime library's 87 exports, in the order in which the
// loader resolves them. Each entry is X(result, name, parameters). The program never
// declares the exports as functions: it reaches them through the loader's table.

#include "cef/ceflib/capi_handlers.h"

#define CEF_EXPORTS_STRINGS(X)                                                                          \
  X(int32_t, cef_string_wide_set, (const wchar_t* src, uint32_t src_len, TCefStringWide* output, int32_t copy)) \
  X(int32_t, cef_string_utf8_set, (const char* src, uint32_t src_len, TCefStringUtf8* output, int32_t copy))   \
  X(int32_t, cef_string_utf16_set, (const char16_t* src, uint32_t src_len, TCefStringUtf16* output, int32_t copy)) \
  X(void, cef_string_wide_clear, (TCefStringWide* str))                                              \
  X(void, cef_string_utf8_clear, (TCefStringUtf8* str))                                              \
  X(void, cef_string_utf16_clear, (TCefStringUtf16* str))                                            \
  X(int32_t, cef_string_wide_cmp, (const TCefStringWide* str1, const TCefStringWide* str2))          \
  X(int32_t, cef_string_utf8_cmp, (const TCefStringUtf8* str1, const TCefStringUtf8* str2))          \
  X(int32_t, cef_string_utf16_cmp, (const TCefStringUtf16* str1, const TCefStringUtf16* str2))       \
  X(int32_t, cef_string_wide_to_utf8, (const wchar_t* src, uint32_t src_len, TCefStringUtf8* output)) \
  X(int32_t, cef_string_utf8_to_wide, (const char* src, uint32_t src_len, TCefStringWide* output))    \
  X(int32_t, cef_string_wide_to_utf16, (const wchar_t* src, uint32_t src_len, TCefStringUtf16* output)) \
  X(int32_t, cef_string_utf16_to_wide, (const char16_t* src, uint32_t src_len, TCefStringWide* output)) \
  X(int32_t, cef_string_utf8_to_utf16, (const char* src, uint32_t src_len, TCefStringUtf16* output))  \
  X(int32_t, cef_string_utf16_to_utf8, (const char16_t* src, uint32_t src_len, TCefStringUtf8* output)) \
  X(int32_t, cef_string_ascii_to_wide, (const char* src, uint32_t src_len, TCefStringWide* output))   \
  X(int32_t, cef_string_ascii_to_utf16, (const char* src, uint32_t src_len, TCefStringUtf16* output)) \
  X(TCefStringUserFreeWide, cef_string_userfree_wide_alloc, (void))                                  \
  X(TCefStringUserFreeUtf8, cef_string_userfree_utf8_alloc, (void))                                  \
  X(TCefStringUserFreeUtf16, cef_string_userfree_utf16_alloc, (void))                                \
  X(void, cef_string_userfree_wide_free, (TCefStringUserFreeWide str))                               \
  X(void, cef_string_userfree_utf8_free, (TCefStringUserFreeUtf8 str))                               \
  X(void, cef_string_userfree_utf16_free, (TCefStringUserFreeUtf16 str))

#define CEF_EXPORTS_STRING_MAPS(X)                                                                      \
  X(TCefStringMap, cef_string_map_alloc, (void))                                                     \
  X(int32_t, cef_string_map_size, (TCefStringMap map))                                               \
  X(int32_t, cef_string_map_find, (TCefStringMap map, const TCefString* key, TCefString* value))     \
  X(int32_t, cef_string_map_key, (TCefStringMap map, int32_t index, TCefString* key))                \
  X(int32_t, cef_string_map_value, (TCefStringMap map, int32_t index, TCefString* value))            \
  X(int32_t, cef_string_map_append, (TCefStringMap map, const TCefString* key, const TCefString* value)) \
  X(void, cef_string_map_clear, (TCefStringMap map))                                                 \
  X(void, cef_string_map_free, (TCefStringMap map))

#define CEF_EXPORTS_STRING_LISTS(X)                                                                     \
  X(TCefStringList, cef_string_list_alloc, (void))                                                   \
  X(int32_t, cef_string_list_size, (TCefStringList list))                                            \
  X(int32_t, cef_string_list_value, (TCefStringList list, int32_t index, TCefString* value))         \
  X(void, cef_string_list_append, (TCefStringList list, const TCefString* value))                    \
  X(void, cef_string_list_clear, (TCefStringList list))                                              \
  X(void, cef_string_list_free, (TCefStringList list))                                               \
  X(TCefStringList, cef_string_list_copy, (TCefStringList list))

#define CEF_EXPORTS_LIFE(X)                                                                             \
  X(int32_t, cef_initialize, (const TCefSettings* settings))                                         \
  X(void, cef_shutdown, (void))                                                                      \
  X(void, cef_do_message_loop_work, (void))                                                          \
  X(void, cef_run_message_loop, (void))

#define CEF_EXPORTS_REGISTRATION(X)                                                                     \
  X(TCefBool, cef_register_extension,                                                                \
    (const TCefString* extension_name, const TCefString* javascript_code, TCefv8Handler* handler))   \
  X(TCefBool, cef_register_custom_scheme,                                                            \
    (const TCefString* scheme_name, TCefBool is_standard, TCefBool is_local, TCefBool is_display_isolated)) \
  X(TCefBool, cef_register_scheme_handler_factory,                                                   \
    (const TCefString* scheme_name, const TCefString* domain_name, TCefSchemeHandlerFactory* factory)) \
  X(TCefBool, cef_clear_scheme_handler_factories, (void))                                            \
  X(TCefBool, cef_add_cross_origin_whitelist_entry,                                                  \
    (const TCefString* source_origin, const TCefString* target_protocol, const TCefString* target_domain, \
     TCefBool allow_target_subdomains))                                                              \
  X(TCefBool, cef_remove_cross_origin_whitelist_entry,                                               \
    (const TCefString* source_origin, const TCefString* target_protocol, const TCefString* target_domain, \
     TCefBool allow_target_subdomains))                                                              \
  X(TCefBool, cef_clear_cross_origin_whitelist, (void))

#define CEF_EXPORTS_TASKS(X)                                                                            \
  X(TCefBool, cef_currently_on, (TCefThreadId threadId))                                             \
  X(TCefBool, cef_post_task, (TCefThreadId threadId, TCefTask* task))                                \
  X(TCefBool, cef_post_delayed_task, (TCefThreadId threadId, TCefTask* task, int32_t delay_ms))

#define CEF_EXPORTS_URLS(X)                                                                             \
  X(TCefBool, cef_parse_url, (const TCefString* url, TCefUrlParts* parts))                           \
  X(TCefBool, cef_create_url, (const TCefUrlParts* parts, TCefString* url))

#define CEF_EXPORTS_STORAGE(X)                                                                          \
  X(TCefBool, cef_visit_all_cookies, (TCefCookieVisitor* visitor))                                   \
  X(TCefBool, cef_visit_url_cookies, (const TCefString* url, TCefBool includeHttpOnly, TCefCookieVisitor* visitor)) \
  X(TCefBool, cef_set_cookie, (const TCefString* url, const TCefCookie* cookie))                     \
  X(TCefBool, cef_delete_cookies, (const TCefString* url, const TCefString* cookie_name))            \
  X(TCefBool, cef_visit_storage,                                                                     \
    (TCefStorageType type, const TCefString* origin, const TCefString* key, TCefStorageVisitor* visitor)) \
  X(TCefBool, cef_set_storage,                                                                       \
    (TCefStorageType type, const TCefString* origin, const TCefString* key, const TCefString* value)) \
  X(TCefBool, cef_delete_storage, (TCefStorageType type, const TCefString* origin, const TCefString* key))

#define CEF_EXPORTS_CREATORS(X)                                                                         \
  X(TCefBool, cef_browser_create,                                                                    \
    (TCefWindowInfo* windowInfo, TCefClient* client, const TCefString* url, const TCefBrowserSettings* settings)) \
  X(TCefBrowser*, cef_browser_create_sync,                                                           \
    (TCefWindowInfo* windowInfo, TCefClient* client, const TCefString* url, const TCefBrowserSettings* settings)) \
  X(TCefRequest*, cef_request_create, (void))                                                        \
  X(TCefPostData*, cef_post_data_create, (void))                                                     \
  X(TCefPostDataElement*, cef_post_data_element_create, (void))                                      \
  X(TCefStreamReader*, cef_stream_reader_create_for_file, (const TCefString* fileName))              \
  X(TCefStreamReader*, cef_stream_reader_create_for_data, (void* data, uint32_t size))               \
  X(TCefStreamReader*, cef_stream_reader_create_for_handler, (TCefReadHandler* handler))             \
  X(TCefStreamWriter*, cef_stream_writer_create_for_file, (const TCefString* fileName))              \
  X(TCefStreamWriter*, cef_stream_writer_create_for_handler, (TCefWriteHandler* handler))            \
  X(TCefv8Context*, cef_v8context_get_current_context, (void))                                       \
  X(TCefv8Context*, cef_v8context_get_entered_context, (void))                                       \
  X(TCefv8Value*, cef_v8value_create_undefined, (void))                                              \
  X(TCefv8Value*, cef_v8value_create_null, (void))                                                   \
  X(TCefv8Value*, cef_v8value_create_bool, (TCefBool value))                                         \
  X(TCefv8Value*, cef_v8value_create_int, (int32_t value))                                           \
  X(TCefv8Value*, cef_v8value_create_double, (double value))                                         \
  X(TCefv8Value*, cef_v8value_create_date, (const TCefTime* date))                                   \
  X(TCefv8Value*, cef_v8value_create_string, (const TCefString* value))                              \
  X(TCefv8Value*, cef_v8value_create_object, (TCefv8Value* user_data))                               \
  X(TCefv8Value*, cef_v8value_create_object_with_accessor, (TCefv8Value* user_data, TCefV8Accessor* accessor)) \
  X(TCefv8Value*, cef_v8value_create_array, (void))                                                  \
  X(TCefv8Value*, cef_v8value_create_function, (const TCefString* name, TCefv8Handler* handler))     \
  X(TCefWebUrlRequest*, cef_web_urlrequest_create, (TCefRequest* request, TCefWebUrlRequestClient* client)) \
  X(TCefXmlReader*, cef_xml_reader_create, (TCefStreamReader* stream, int32_t encodingType, const TCefString* URI)) \
  X(TCefZipReader*, cef_zip_reader_create, (TCefStreamReader* stream))

#define CEF_EXPORTS(X)        \
  CEF_EXPORTS_STRINGS(X)      \
  CEF_EXPORTS_STRING_MAPS(X)  \
  CEF_EXPORTS_STRING_LISTS(X) \
  CEF_EXPORTS_LIFE(X)         \
  CEF_EXPORTS_REGISTRATION(X) \
  CEF_EXPORTS_TASKS(X)        \
  CEF_EXPORTS_URLS(X)         \
  CEF_EXPORTS_STORAGE(X)      \
  CEF_EXPORTS_CREATORS(X)

#define CEF_COUNT_EXPORT(result, name, params) +1
inline constexpr int kCefExportCount = 0 CEF_EXPORTS(CEF_COUNT_EXPORT);
#undef CEF_COUNT_EXPORT
static_assert(kCefExportCount == 87, "the runtime contract has 87 exports");
