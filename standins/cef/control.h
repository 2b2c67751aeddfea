#pragma once
// The stand-in's test control interface: extra exports, beside the runtime's own, through
// which tests read what the runtime received, count calls, inject failures and check the
// accounts. Tests resolve them from the loaded library by name.

#include <cstdint>

#include "cef/ceflib/capi.h"

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
  STANDIN_CONTROL_DOCUMENTS(X)                                                                \
  STANDIN_CONTROL_SCRIPTS(X)                                                                  \
  STANDIN_CONTROL_CALLBACKS(X)

// The network and the document parser, for tests of their own.
//
// standin_http_fetch: one exchange through the stand-in's network. headers are
// "Name: value\n" lines (or null); follow is 1 to follow redirects; timeout_ms 0 keeps the
// default. The answer's parts go to sink(context, part, data, size) while the call runs,
// one call each: "error" (empty when an answer arrived), "status_text", "final_url",
// "header" (once per header, "Name: value", in order), "mime_type", "charset",
// "attachment" ("1" or "0"), "file_name" (UTF-8), "body". Answers the status, 0 when no
// answer arrived. Nothing is kept after the call.
//
// standin_html_query: parses a page given as bytes in charset (null or "": a byte order
// mark, a <meta> or UTF-8) and answers one question into buffer (UTF-16, NUL-terminated
// when it fits); answers the full length, -1 when the question finds nothing. Questions:
// "decoded" (the text before parsing), "title", "markup" (the whole document), "text"
// (the document's visible text), "count TAG" (elements of that tag, as digits),
// "#ID" (the element's markup), "#ID inner" (its inner markup), "#ID text" (its visible
// text), "#ID @NAME" (an attribute's value).
//
// standin_resolve_url: an address relative to a base, as links and redirects are resolved.
// standin_mapped_host: where connections to host:port go ("address:port"), -1 unmapped.
// Both answer the full length and write UTF-8, NUL-terminated when it fits.
#define STANDIN_CONTROL_NETWORK(X)                                                            \
  X(int32_t, standin_http_fetch,                                                              \
    (const char* method, const char* url, const char* headers, const void* body, int32_t body_size, \
     int32_t follow, int32_t timeout_ms,                                                      \
     void (*sink)(void* context, const char* part, const void* data, int32_t size), void* context)) \
  X(int32_t, standin_html_query,                                                              \
    (const void* source, int32_t size, const char* charset, const char* question, char16_t* buffer, \
     int32_t buffer_size))                                                                    \
  X(int32_t, standin_resolve_url, (const char* base, const char* relative, char* buffer, int32_t size)) \
  X(int32_t, standin_mapped_host, (const char* host, int32_t port, char* buffer, int32_t size))

// Browsers, frames, page loads, history and windows. Browsers and frames are named by the
// pointers the program holds, borrowed: no reference is taken or released. Text answers
// its length (-1 when there is none) and copies what fits, zero-terminated, into buffer.
// Members of browsers and frames count their calls as "browser.<member>" and
// "frame.<member>" (standin_call_count("browser.reload")).
#define STANDIN_CONTROL_BROWSING(X)                                                           \
  /* Open browsers; creations asked for with cef_browser_create and not yet carried out. */  \
  X(int32_t, standin_browser_count, (void))                                                   \
  X(int32_t, standin_pending_creations, (void))                                               \
  /* The open browser at index, with one reference for the caller; null past the end. */     \
  X(TCefBrowser*, standin_browser_at, (int32_t index))                                        \
  /* A number of a browser by key, -1 for an unknown key or no browser: "closed",            \
     "loads.started", "loads.committed", "loads.pending", "visits.pending", "history.count",  \
     "history.index", "status" (the main frame's HTTP status), "error.code" (its last load    \
     error), "downloads", "parent_window_will_close", "dev_tools.shown", "dev_tools.closed",  \
     "dev_tools.open", "popup", "os_executions" (addresses left to the system's handler of    \
     their scheme), "deliveries" (downloads still sending), "focused", "find.calls",           \
     "find.identifier", "find.matches", "find.forward", "find.match_case", "find.find_next",   \
     "find.active"; the last download's "download.length" (as announced) and                   \
     "download.cut_short" (1 when its connection broke: it has fewer bytes). */                \
  X(int32_t, standin_browser_value, (TCefBrowser* browser, const char* key))                  \
  /* A text of a browser by key: the main frame's "url", "title", "source", "text",          \
     "error.text", "error.url"; "find.text"; the last download's "download.url",              \
     "download.mime", "download.file". */                                                     \
  X(int32_t, standin_browser_text, (TCefBrowser* browser, const char* key, char16_t* buffer, int32_t size)) \
  /* The address of the history entry at index. */                                          \
  X(int32_t, standin_history_url, (TCefBrowser* browser, int32_t index, char16_t* buffer, int32_t size)) \
  /* The browser settings record the browser was created with, byte for byte (its string    \
     fields point at the program's texts of that moment); answers its size. */                \
  X(int32_t, standin_browser_settings, (TCefBrowser* browser, void* buffer, int32_t size))    \
  /* A string field of that record by field name, as copied when the browser was created. */ \
  X(int32_t, standin_browser_settings_string,                                                 \
    (TCefBrowser* browser, const char* field, char16_t* buffer, int32_t size))                \
  /* The browser's window; null when it has none. */                                         \
  X(void*, standin_browser_window, (TCefBrowser* browser))                                    \
  /* The last download's bytes: answers their count, -1 when there is none. */              \
  X(int32_t, standin_download_bytes, (TCefBrowser* browser, void* buffer, int32_t size))      \
  /* Drives cef_do_message_loop_work until the browser (every browser for null) has no       \
     creation, load or visit pending, or until timeout_ms passed: 1 when idle, else 0. */     \
  X(int32_t, standin_wait_idle, (TCefBrowser* browser, int32_t timeout_ms))                   \
  /* One round of browser work (creations, loads, visits) outside the work function. */      \
  X(void, standin_run_browser_work, (void))                                                   \
  /* Fetches whose threads have not been joined yet. */                                      \
  X(int32_t, standin_running_fetches, (void))                                                 \
  /* A text of a frame by key: "name", "url", "title", "source", "text", and of the last     \
     script executed in it "script.code", "script.url". */                                    \
  X(int32_t, standin_frame_text, (TCefFrame* frame, const char* key, char16_t* buffer, int32_t size)) \
  /* A number of a frame by key, -1 for an unknown key or no frame: "attached" (1 while it    \
     belongs to an open browser), "main", "status", "error.code", "loads.pending",            \
     "scripts" (executed so far), "script.line". */                                           \
  X(int32_t, standin_frame_value, (TCefFrame* frame, const char* key))                        \
  /* Moves the browser's focus to the frame, as a click into it would; 0 when detached. */   \
  X(int32_t, standin_focus_frame, (TCefFrame* frame))                                         \
  /* Dispatches an event of that type at the element with that id in the frame's page, then \
     does what the page does by itself: a click on a link follows it, a click on a form's    \
     submit button or a submit event submits the form. Answers the listener calls made, -1    \
     when there is no such element. */                                                        \
  X(int32_t, standin_frame_dispatch_event, (TCefFrame* frame, const char16_t* element_id, const char16_t* type))

// Documents and their events, streams, requests and drag data. Objects passed in are
// borrowed: no reference of the caller's is taken or released.
#define STANDIN_CONTROL_DOCUMENTS(X)                                                          \
  /* A document parsed from source and shown at url, with one reference for the caller;    \
     its tree lives while any of its objects does. */                                         \
  X(TCefDomDocument*, standin_create_document, (const char16_t* source, const char16_t* url)) \
  /* Leaves the document as a frame leaves its page: the listeners are released and its     \
     objects answer neutral values from then on. 0 when it is no document. */                 \
  X(int32_t, standin_detach_document, (TCefDomDocument* document))                            \
  /* The listeners the document holds; -1 when it is no document. */                          \
  X(int32_t, standin_listener_count, (TCefDomDocument* document))                             \
  /* Focus on a node of the document, or on none for null; 0 when the node is not its own. */ \
  X(int32_t, standin_set_focus, (TCefDomDocument* document, TCefDomNode* node))               \
  /* The selection from (start, start_offset) to (end, end_offset): a character offset in a  \
     text node, else a child index; a null start clears it. 0 when a node is not its own. */  \
  X(int32_t, standin_set_selection,                                                           \
    (TCefDomDocument* document, TCefDomNode* start, int32_t start_offset, TCefDomNode* end,   \
     int32_t end_offset))                                                                     \
  /* Dispatches an event of that type at the element with that id (at the document node    \
     for a null id); answers the listener calls made, -1 when there is no such element. */   \
  X(int32_t, standin_dispatch_event,                                                          \
    (TCefDomDocument* document, const char16_t* element_id, const char16_t* type))            \
  /* Drag data with one reference; kinds: 1 link, 2 fragment, 4 files. A null text answers   \
     null, an empty one an empty string; file_names are separated by '\n'. */                \
  X(TCefDragData*, standin_create_drag_data,                                                  \
    (int32_t kinds, const char16_t* link_url, const char16_t* link_title,                     \
     const char16_t* link_metadata, const char16_t* fragment_text, const char16_t* fragment_html, \
     const char16_t* fragment_base_url, const char16_t* file_extension, const char16_t* file_name, \
     const char16_t* file_names))                                                             \
  /* What a file writer has written so far, flushed: answers the byte count and copies up to \
     size bytes; -1 for any other writer. */                                                  \
  X(int32_t, standin_writer_contents, (TCefStreamWriter* writer, void* buffer, int32_t size))

// Page scripts. Frames are borrowed as in the browsing group. Texts answer their full length
// and copy what fits, zero-terminated, into buffer.
//
// standin_script_run: runs code (zero-terminated UTF-16) in the frame's script context now,
// making the context first (with its extensions) when the page has none yet; *threw (when
// given) gets 1 if it threw. buffer gets the result as String() gives it, or the error's
// text; the code runs once, so size the buffer ahead. -1 when the frame has left its browser.
//
// standin_script_count: "contexts" (attached to a page now), "values" (script values kept
// for the program), "attachments" (script objects holding program structures), "console",
// "dialogs", "errors" (recorded so far); -1 for an unknown key.
//
// standin_script_record: a field of a record, by index from the first, or from the end when
// negative (-1: the last): "console" message, url, line; "dialogs" kind ("alert",
// "confirm", "prompt", "open"), arg0, arg1, arg2 (the call's arguments as String() gives
// them); "errors" (uncaught script errors) message, url, line. Lines as digits. -1 when there
// is no such record or field.
#define STANDIN_CONTROL_SCRIPTS(X)                                                            \
  X(int32_t, standin_script_run,                                                              \
    (TCefFrame* frame, const char16_t* code, int32_t* threw, char16_t* buffer, int32_t size)) \
  /* The frame's script context with one reference, made first (with its extensions) when  \
     the page has none yet; null once the frame left its browser. */                         \
  X(TCefv8Context*, standin_script_context, (TCefFrame* frame))                               \
  X(int32_t, standin_script_count, (const char* key))                                         \
  X(int32_t, standin_script_record,                                                           \
    (const char* kind, int32_t index, const char* field, char16_t* buffer, int32_t size))     \
  X(void, standin_script_clear_records, (void))                                               \
  /* A full garbage collection: finalizers run and release what script objects held. */     \
  X(void, standin_script_collect_garbage, (void))

// Callbacks of the program's client, raised on a browser with arguments of the test's
// choice; the answer and everything the program left in the arguments are read back.
//
// standin_call_new names one callback as "kind.member": the kind as the client's getter
// names it ("life_span", "load", "request", "display", "focus", "keyboard", "menu",
// "print", "find", "jsdialog", "jsbinding", "render", "drag") and the member as its handler
// structure does ("load.on_load_error", "request.get_auth_credentials"). Null for an unknown
// name. Arguments are numbered as the wire passes them after the handler: 0 is the browser,
// given to standin_call_fire. Each is set by the setter of its type; a setter answers 0 when
// the argument at that index is of another type (or the call was fired), else 1:
//   set_int      integers, Booleans, enumerations, the 64-bit content length, and what an
//                integer the program fills starts with (unset: 0)
//   set_pointer  raw pointers and handles (a paint buffer, a cursor)
//   set_text     a string the program reads (null text: a null pointer), or the starting
//                text of a string the program fills (unset, that one starts zeroed)
//   set_object   an object argument (frame, request, response, script value, drag data), or
//                what an object slot starts with (client, stream reader, response filter,
//                download handler). Borrowed: the stand-in adds the reference that goes with it,
//                except in the download handler's slot, which the program never reads: left
//                as it was, it is not taken back.
//   set_record   a record passed by pointer, byte for byte; size must be the record's. Its
//                string fields are copied: the program gets the stand-in's own characters.
//                Unset records are zeroed.
// standin_call_fire raises the callback once: 1 when the client's handler took it, 0 when
// the client has no such handler or member, -1 when the call cannot be fired (no browser,
// fired already). Afterwards:
//   standin_call_answer       the callback's answer (0 for callbacks without one)
//   standin_call_int          an integer argument, or what the program left in one it fills
//   standin_call_text         a string argument, or what the program left in one it fills:
//                             answers its length (0 for a null string), -1 for no string
//   standin_call_record       the record as the program left it: answers its size, -1 for none
//   standin_call_record_text  a string field of a record, by its byte offset, as it was when
//                             the callback returned: answers its length, -1 for no such field
//   standin_call_object       what the program left in an object slot, with a new reference
//                             for the caller; null when empty, and for the stream slot of a
//                             resource load answered true, which the program does not write
// standin_call_free ends the call: the strings it made and the references the program left in
// its slots go with it. Open calls count as live objects of the kind "Call".
typedef struct StandinCall StandinCall;

#define STANDIN_CONTROL_CALLBACKS(X)                                                          \
  X(StandinCall*, standin_call_new, (const char* callback))                                   \
  X(int32_t, standin_call_set_int, (StandinCall* call, int32_t index, int64_t value))         \
  X(int32_t, standin_call_set_pointer, (StandinCall* call, int32_t index, const void* value)) \
  X(int32_t, standin_call_set_text, (StandinCall* call, int32_t index, const char16_t* text)) \
  X(int32_t, standin_call_set_object, (StandinCall* call, int32_t index, TCefBase* object))   \
  X(int32_t, standin_call_set_record, (StandinCall* call, int32_t index, const void* record, int32_t size)) \
  X(int32_t, standin_call_fire, (StandinCall* call, TCefBrowser* browser))                    \
  X(int64_t, standin_call_answer, (StandinCall* call))                                        \
  X(int64_t, standin_call_int, (StandinCall* call, int32_t index))                            \
  X(int32_t, standin_call_text, (StandinCall* call, int32_t index, char16_t* buffer, int32_t size)) \
  X(int32_t, standin_call_record, (StandinCall* call, int32_t index, void* buffer, int32_t size)) \
  X(int32_t, standin_call_record_text,                                                        \
    (StandinCall* call, int32_t index, int32_t offset, char16_t* buffer, int32_t size))       \
  X(TCefBase*, standin_call_object, (StandinCall* call, int32_t index))                       \
  X(void, standin_call_free, (StandinCall* call))
