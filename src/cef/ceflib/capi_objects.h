#pragma once
// The runtime's objects (browser, frame, script values, streams, requests, the DOM, drag
// data) and the program's objects that the runtime calls (handlers, visitors, readers). Every structure begins with the TCefBase header; every
// member takes the structure itself first.

#include "cef/ceflib/capi_records.h"

extern "C" {

typedef struct TCefBrowser TCefBrowser;
typedef struct TCefFrame TCefFrame;
typedef struct TCefClient TCefClient;
typedef struct TCefRequest TCefRequest;
typedef struct TCefPostData TCefPostData;
typedef struct TCefPostDataElement TCefPostDataElement;
typedef struct TCefResponse TCefResponse;
typedef struct TCefStreamReader TCefStreamReader;
typedef struct TCefReadHandler TCefReadHandler;
typedef struct TCefDownloadHandler TCefDownloadHandler;
typedef struct TCefv8Value TCefv8Value;
typedef struct TCefv8Handler TCefv8Handler;
typedef struct TCefv8Context TCefv8Context;
typedef struct TCefV8Accessor TCefV8Accessor;
typedef struct TCefDomDocument TCefDomDocument;
typedef struct TCefDomNode TCefDomNode;
typedef struct TCefDomEvent TCefDomEvent;
typedef struct TCefDomVisitor TCefDomVisitor;
typedef struct TCefDomEventListener TCefDomEventListener;
typedef struct TCefDragData TCefDragData;

struct TCefBrowser {
  TCefBase base;
  void(CEF_CALLBACK* parent_window_will_close)(TCefBrowser* self);
  void(CEF_CALLBACK* close_browser)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* can_go_back)(TCefBrowser* self);
  void(CEF_CALLBACK* go_back)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* can_go_forward)(TCefBrowser* self);
  void(CEF_CALLBACK* go_forward)(TCefBrowser* self);
  void(CEF_CALLBACK* reload)(TCefBrowser* self);
  void(CEF_CALLBACK* reload_ignore_cache)(TCefBrowser* self);
  void(CEF_CALLBACK* stop_load)(TCefBrowser* self);
  void(CEF_CALLBACK* set_focus)(TCefBrowser* self, TCefBool enable);
  TCefWindowHandle(CEF_CALLBACK* get_window_handle)(TCefBrowser* self);
  TCefWindowHandle(CEF_CALLBACK* get_opener_window_handle)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* is_popup)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* has_document)(TCefBrowser* self);
  TCefClient*(CEF_CALLBACK* get_client)(TCefBrowser* self);
  TCefFrame*(CEF_CALLBACK* get_main_frame)(TCefBrowser* self);
  TCefFrame*(CEF_CALLBACK* get_focused_frame)(TCefBrowser* self);
  TCefFrame*(CEF_CALLBACK* get_frame)(TCefBrowser* self, const TCefString* name);
  void(CEF_CALLBACK* get_frame_names)(TCefBrowser* self, TCefStringList names);
  // The identifier comes first on the wire, ahead of the search text.
  void(CEF_CALLBACK* find)(TCefBrowser* self, TCefBool identifier, const TCefString* searchText,
                           TCefBool forward, TCefBool matchCase, TCefBool findNext);
  void(CEF_CALLBACK* stop_finding)(TCefBrowser* self, TCefBool clearSelection);
  double(CEF_CALLBACK* get_zoom_level)(TCefBrowser* self);
  void(CEF_CALLBACK* set_zoom_level)(TCefBrowser* self, double zoomLevel);
  void(CEF_CALLBACK* clear_history)(TCefBrowser* self);
  void(CEF_CALLBACK* show_dev_tools)(TCefBrowser* self);
  void(CEF_CALLBACK* close_dev_tools)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* is_window_rendering_disabled)(TCefBrowser* self);
  TCefBool(CEF_CALLBACK* get_size)(TCefBrowser* self, int32_t type, int32_t* width, int32_t* height);
  void(CEF_CALLBACK* set_size)(TCefBrowser* self, int32_t type, int32_t width, int32_t height);
  TCefBool(CEF_CALLBACK* is_popup_visible)(TCefBrowser* self);
  void(CEF_CALLBACK* hide_popup)(TCefBrowser* self);
  void(CEF_CALLBACK* invalidate)(TCefBrowser* self, const TCefRect* dirtyRect);
  TCefBool(CEF_CALLBACK* get_image)(TCefBrowser* self, int32_t type, int32_t width, int32_t height,
                                    void* buffer);
  void(CEF_CALLBACK* send_key_event)(TCefBrowser* self, int32_t type, int32_t key, int32_t modifiers,
                                     TCefBool sysChar, TCefBool imeChar);
  void(CEF_CALLBACK* send_mouse_click_event)(TCefBrowser* self, int32_t x, int32_t y, int32_t type,
                                             TCefBool mouseUp, int32_t clickCount);
  void(CEF_CALLBACK* send_mouse_move_event)(TCefBrowser* self, int32_t x, int32_t y, TCefBool mouseLeave);
  void(CEF_CALLBACK* send_mouse_wheel_event)(TCefBrowser* self, int32_t x, int32_t y, int32_t delta);
  void(CEF_CALLBACK* send_focus_event)(TCefBrowser* self, TCefBool setFocus);
  void(CEF_CALLBACK* send_capture_lost_event)(TCefBrowser* self);
};

struct TCefFrame {
  TCefBase base;
  void(CEF_CALLBACK* undo)(TCefFrame* self);
  void(CEF_CALLBACK* redo)(TCefFrame* self);
  void(CEF_CALLBACK* cut)(TCefFrame* self);
  void(CEF_CALLBACK* copy)(TCefFrame* self);
  void(CEF_CALLBACK* paste)(TCefFrame* self);
  void(CEF_CALLBACK* del)(TCefFrame* self);
  void(CEF_CALLBACK* select_all)(TCefFrame* self);
  void(CEF_CALLBACK* print)(TCefFrame* self);
  void(CEF_CALLBACK* view_source)(TCefFrame* self);
  TCefStringUserFree(CEF_CALLBACK* get_source)(TCefFrame* self);
  TCefStringUserFree(CEF_CALLBACK* get_text)(TCefFrame* self);
  void(CEF_CALLBACK* load_request)(TCefFrame* self, TCefRequest* request);
  void(CEF_CALLBACK* load_url)(TCefFrame* self, const TCefString* url);
  void(CEF_CALLBACK* load_string)(TCefFrame* self, const TCefString* string_val, const TCefString* url);
  // Streams and files both load through this one member.
  void(CEF_CALLBACK* load_stream)(TCefFrame* self, TCefStreamReader* stream, const TCefString* url);
  void(CEF_CALLBACK* execute_java_script)(TCefFrame* self, const TCefString* jsCode,
                                          const TCefString* scriptUrl, int32_t startLine);
  TCefBool(CEF_CALLBACK* is_main)(TCefFrame* self);
  TCefBool(CEF_CALLBACK* is_focused)(TCefFrame* self);
  TCefStringUserFree(CEF_CALLBACK* get_name)(TCefFrame* self);
  TCefStringUserFree(CEF_CALLBACK* get_url)(TCefFrame* self);
  TCefBrowser*(CEF_CALLBACK* get_browser)(TCefFrame* self);
  void(CEF_CALLBACK* visit_dom)(TCefFrame* self, TCefDomVisitor* visitor);
};

struct TCefv8Value {
  TCefBase base;
  TCefBool(CEF_CALLBACK* is_undefined)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_null)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_bool)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_int)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_double)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_date)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_string)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_object)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_array)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_function)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* is_same)(TCefv8Value* self, TCefv8Value* that);
  TCefBool(CEF_CALLBACK* get_bool_value)(TCefv8Value* self);
  int32_t(CEF_CALLBACK* get_int_value)(TCefv8Value* self);
  double(CEF_CALLBACK* get_double_value)(TCefv8Value* self);
  TCefTime(CEF_CALLBACK* get_date_value)(TCefv8Value* self);
  TCefStringUserFree(CEF_CALLBACK* get_string_value)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* has_value_bykey)(TCefv8Value* self, const TCefString* key);
  TCefBool(CEF_CALLBACK* has_value_byindex)(TCefv8Value* self, int32_t index);
  TCefBool(CEF_CALLBACK* delete_value_bykey)(TCefv8Value* self, const TCefString* key);
  TCefBool(CEF_CALLBACK* delete_value_byindex)(TCefv8Value* self, int32_t index);
  TCefv8Value*(CEF_CALLBACK* get_value_bykey)(TCefv8Value* self, const TCefString* key);
  TCefv8Value*(CEF_CALLBACK* get_value_byindex)(TCefv8Value* self, int32_t index);
  TCefBool(CEF_CALLBACK* set_value_bykey)(TCefv8Value* self, const TCefString* key, TCefv8Value* value);
  TCefBool(CEF_CALLBACK* set_value_byindex)(TCefv8Value* self, int32_t index, TCefv8Value* value);
  TCefBool(CEF_CALLBACK* set_value_byaccessor)(TCefv8Value* self, const TCefString* key, int32_t settings,
                                               int32_t attribute);
  int32_t(CEF_CALLBACK* get_keys)(TCefv8Value* self, TCefStringList keys);
  TCefv8Value*(CEF_CALLBACK* get_user_data)(TCefv8Value* self);
  int32_t(CEF_CALLBACK* get_array_length)(TCefv8Value* self);
  TCefStringUserFree(CEF_CALLBACK* get_function_name)(TCefv8Value* self);
  TCefv8Handler*(CEF_CALLBACK* get_function_handler)(TCefv8Value* self);
  TCefBool(CEF_CALLBACK* execute_function)(TCefv8Value* self, TCefv8Value* object, uint32_t argumentCount,
                                           TCefv8Value* const* arguments, TCefv8Value** retval,
                                           TCefString* exception);
  TCefBool(CEF_CALLBACK* execute_function_with_context)(TCefv8Value* self, TCefv8Context* context,
                                                        TCefv8Value* object, uint32_t argumentCount,
                                                        TCefv8Value* const* arguments, TCefv8Value** retval,
                                                        TCefString* exception);
};

// A native function handler. The program's handlers answer -1 (all bits set) for true.
struct TCefv8Handler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* execute)(TCefv8Handler* self, const TCefString* name, TCefv8Value* object,
                                  uint32_t argumentCount, TCefv8Value* const* arguments,
                                  TCefv8Value** retval, TCefString* exception);
  TCefBool(CEF_CALLBACK* execute_with_context)(TCefv8Handler* self, TCefv8Context* context,
                                               TCefv8Value* object, uint32_t argumentCount,
                                               TCefv8Value* const* arguments, TCefv8Value** retval,
                                               TCefString* exception);
};

struct TCefv8Context {
  TCefBase base;
  TCefBrowser*(CEF_CALLBACK* get_browser)(TCefv8Context* self);
  TCefFrame*(CEF_CALLBACK* get_frame)(TCefv8Context* self);
  TCefv8Value*(CEF_CALLBACK* get_global)(TCefv8Context* self);
  TCefBool(CEF_CALLBACK* enter)(TCefv8Context* self);
  TCefBool(CEF_CALLBACK* exit)(TCefv8Context* self);
};

// Property accessors answer 1 for true.
struct TCefV8Accessor {
  TCefBase base;
  TCefBool(CEF_CALLBACK* get)(TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                              TCefv8Value** retval, TCefString* exception);
  TCefBool(CEF_CALLBACK* set)(TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                              TCefv8Value* value, TCefString* exception);
};

struct TCefDownloadHandler {
  TCefBase base;
  int32_t(CEF_CALLBACK* received_data)(TCefDownloadHandler* self, void* data, int32_t data_size);
  void(CEF_CALLBACK* complete)(TCefDownloadHandler* self);
};

struct TCefStreamReader {
  TCefBase base;
  uint32_t(CEF_CALLBACK* read)(TCefStreamReader* self, void* ptr, uint32_t size, uint32_t n);
  int32_t(CEF_CALLBACK* seek)(TCefStreamReader* self, int32_t offset, int32_t whence);
  int32_t(CEF_CALLBACK* tell)(TCefStreamReader* self);
  TCefBool(CEF_CALLBACK* eof)(TCefStreamReader* self);
};

// The program's custom reader, presented to cef_stream_reader_create_for_handler; the
// same member order as a runtime reader.
struct TCefReadHandler {
  TCefBase base;
  uint32_t(CEF_CALLBACK* read)(TCefReadHandler* self, void* ptr, uint32_t size, uint32_t n);
  int32_t(CEF_CALLBACK* seek)(TCefReadHandler* self, int32_t offset, int32_t whence);
  int32_t(CEF_CALLBACK* tell)(TCefReadHandler* self);
  TCefBool(CEF_CALLBACK* eof)(TCefReadHandler* self);
};

// Getters and setters alternate; the member `set` at 48 is never called by the program.
struct TCefRequest {
  TCefBase base;
  TCefStringUserFree(CEF_CALLBACK* get_url)(TCefRequest* self);
  void(CEF_CALLBACK* set_url)(TCefRequest* self, const TCefString* url);
  TCefStringUserFree(CEF_CALLBACK* get_method)(TCefRequest* self);
  void(CEF_CALLBACK* set_method)(TCefRequest* self, const TCefString* method);
  TCefPostData*(CEF_CALLBACK* get_post_data)(TCefRequest* self);
  void(CEF_CALLBACK* set_post_data)(TCefRequest* self, TCefPostData* postData);
  void(CEF_CALLBACK* get_header_map)(TCefRequest* self, TCefStringMap headerMap);
  void(CEF_CALLBACK* set_header_map)(TCefRequest* self, TCefStringMap headerMap);
  void(CEF_CALLBACK* set)(TCefRequest* self, const TCefString* url, const TCefString* method,
                          TCefPostData* postData, TCefStringMap headerMap);
  int32_t(CEF_CALLBACK* get_flags)(TCefRequest* self);
  void(CEF_CALLBACK* set_flags)(TCefRequest* self, int32_t flags);
  TCefStringUserFree(CEF_CALLBACK* get_first_party_for_cookies)(TCefRequest* self);
  void(CEF_CALLBACK* set_first_party_for_cookies)(TCefRequest* self, const TCefString* url);
};

struct TCefPostData {
  TCefBase base;
  uint32_t(CEF_CALLBACK* get_element_count)(TCefPostData* self);
  TCefPostDataElement*(CEF_CALLBACK* get_element)(TCefPostData* self, int32_t index);
  TCefBool(CEF_CALLBACK* remove_element)(TCefPostData* self, TCefPostDataElement* element);
  TCefBool(CEF_CALLBACK* add_element)(TCefPostData* self, TCefPostDataElement* element);
  void(CEF_CALLBACK* remove_elements)(TCefPostData* self);
};

struct TCefPostDataElement {
  TCefBase base;
  void(CEF_CALLBACK* set_to_empty)(TCefPostDataElement* self);
  void(CEF_CALLBACK* set_to_file)(TCefPostDataElement* self, const TCefString* fileName);
  void(CEF_CALLBACK* set_to_bytes)(TCefPostDataElement* self, uint32_t size, const void* bytes);
  int32_t(CEF_CALLBACK* get_type)(TCefPostDataElement* self);
  TCefStringUserFree(CEF_CALLBACK* get_file)(TCefPostDataElement* self);
  uint32_t(CEF_CALLBACK* get_bytes_count)(TCefPostDataElement* self);
  uint32_t(CEF_CALLBACK* get_bytes)(TCefPostDataElement* self, uint32_t size, void* bytes);
};

struct TCefResponse {
  TCefBase base;
  int32_t(CEF_CALLBACK* get_status)(TCefResponse* self);
  void(CEF_CALLBACK* set_status)(TCefResponse* self, int32_t status);
  TCefStringUserFree(CEF_CALLBACK* get_status_text)(TCefResponse* self);
  void(CEF_CALLBACK* set_status_text)(TCefResponse* self, const TCefString* statusText);
  TCefStringUserFree(CEF_CALLBACK* get_mime_type)(TCefResponse* self);
  void(CEF_CALLBACK* set_mime_type)(TCefResponse* self, const TCefString* mimeType);
  TCefStringUserFree(CEF_CALLBACK* get_header)(TCefResponse* self, const TCefString* name);
  void(CEF_CALLBACK* get_header_map)(TCefResponse* self, TCefStringMap headerMap);
  void(CEF_CALLBACK* set_header_map)(TCefResponse* self, TCefStringMap headerMap);
};

struct TCefDomDocument {
  TCefBase base;
  int32_t(CEF_CALLBACK* get_type)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_document)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_body)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_head)(TCefDomDocument* self);
  TCefStringUserFree(CEF_CALLBACK* get_title)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_element_by_id)(TCefDomDocument* self, const TCefString* id);
  TCefDomNode*(CEF_CALLBACK* get_focused_node)(TCefDomDocument* self);
  TCefBool(CEF_CALLBACK* has_selection)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_selection_start_node)(TCefDomDocument* self);
  int32_t(CEF_CALLBACK* get_selection_start_offset)(TCefDomDocument* self);
  TCefDomNode*(CEF_CALLBACK* get_selection_end_node)(TCefDomDocument* self);
  int32_t(CEF_CALLBACK* get_selection_end_offset)(TCefDomDocument* self);
  TCefStringUserFree(CEF_CALLBACK* get_selection_as_markup)(TCefDomDocument* self);
  TCefStringUserFree(CEF_CALLBACK* get_selection_as_text)(TCefDomDocument* self);
  TCefStringUserFree(CEF_CALLBACK* get_base_url)(TCefDomDocument* self);
  TCefStringUserFree(CEF_CALLBACK* get_complete_url)(TCefDomDocument* self, const TCefString* partialURL);
};

struct TCefDomNode {
  TCefBase base;
  int32_t(CEF_CALLBACK* get_type)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* is_text)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* is_element)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* is_same)(TCefDomNode* self, TCefDomNode* that);
  TCefStringUserFree(CEF_CALLBACK* get_name)(TCefDomNode* self);
  TCefStringUserFree(CEF_CALLBACK* get_value)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* set_value)(TCefDomNode* self, const TCefString* value);
  TCefStringUserFree(CEF_CALLBACK* get_as_markup)(TCefDomNode* self);
  TCefDomDocument*(CEF_CALLBACK* get_document)(TCefDomNode* self);
  TCefDomNode*(CEF_CALLBACK* get_parent)(TCefDomNode* self);
  TCefDomNode*(CEF_CALLBACK* get_previous_sibling)(TCefDomNode* self);
  TCefDomNode*(CEF_CALLBACK* get_next_sibling)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* has_children)(TCefDomNode* self);
  TCefDomNode*(CEF_CALLBACK* get_first_child)(TCefDomNode* self);
  TCefDomNode*(CEF_CALLBACK* get_last_child)(TCefDomNode* self);
  // The wire order is type, listener, useCapture.
  void(CEF_CALLBACK* add_event_listener)(TCefDomNode* self, const TCefString* eventType,
                                         TCefDomEventListener* listener, TCefBool useCapture);
  TCefStringUserFree(CEF_CALLBACK* get_element_tag_name)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* has_element_attributes)(TCefDomNode* self);
  TCefBool(CEF_CALLBACK* has_element_attribute)(TCefDomNode* self, const TCefString* attrName);
  TCefStringUserFree(CEF_CALLBACK* get_element_attribute)(TCefDomNode* self, const TCefString* attrName);
  void(CEF_CALLBACK* get_element_attributes)(TCefDomNode* self, TCefStringMap attrMap);
  TCefBool(CEF_CALLBACK* set_element_attribute)(TCefDomNode* self, const TCefString* attrName,
                                                const TCefString* value);
  TCefStringUserFree(CEF_CALLBACK* get_element_inner_text)(TCefDomNode* self);
};

struct TCefDomEvent {
  TCefBase base;
  TCefStringUserFree(CEF_CALLBACK* get_type)(TCefDomEvent* self);
  int32_t(CEF_CALLBACK* get_category)(TCefDomEvent* self);
  int32_t(CEF_CALLBACK* get_phase)(TCefDomEvent* self);
  TCefBool(CEF_CALLBACK* can_bubble)(TCefDomEvent* self);
  TCefBool(CEF_CALLBACK* can_cancel)(TCefDomEvent* self);
  TCefDomDocument*(CEF_CALLBACK* get_document)(TCefDomEvent* self);
  TCefDomNode*(CEF_CALLBACK* get_target)(TCefDomEvent* self);
  TCefDomNode*(CEF_CALLBACK* get_current_target)(TCefDomEvent* self);
};

struct TCefDomVisitor {
  TCefBase base;
  void(CEF_CALLBACK* visit)(TCefDomVisitor* self, TCefDomDocument* document);
};

struct TCefDomEventListener {
  TCefBase base;
  void(CEF_CALLBACK* handle_event)(TCefDomEventListener* self, TCefDomEvent* event);
};

struct TCefDragData {
  TCefBase base;
  TCefBool(CEF_CALLBACK* is_link)(TCefDragData* self);
  TCefBool(CEF_CALLBACK* is_fragment)(TCefDragData* self);
  TCefBool(CEF_CALLBACK* is_file)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_link_url)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_link_title)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_link_metadata)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_fragment_text)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_fragment_html)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_fragment_base_url)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_file_extension)(TCefDragData* self);
  TCefStringUserFree(CEF_CALLBACK* get_file_name)(TCefDragData* self);
  TCefBool(CEF_CALLBACK* get_file_names)(TCefDragData* self, TCefStringList names);
};

// A unit of work posted to a runtime thread.
typedef struct TCefTask TCefTask;
struct TCefTask {
  TCefBase base;
  void(CEF_CALLBACK* execute)(TCefTask* self, TCefThreadId threadId);
};

// Objects the program never calls or presents: only their header is fixed here.
typedef struct TCefStreamWriter { TCefBase base; } TCefStreamWriter;
typedef struct TCefWriteHandler { TCefBase base; } TCefWriteHandler;
typedef struct TCefWebUrlRequest { TCefBase base; } TCefWebUrlRequest;
typedef struct TCefWebUrlRequestClient { TCefBase base; } TCefWebUrlRequestClient;
typedef struct TCefXmlReader { TCefBase base; } TCefXmlReader;
typedef struct TCefZipReader { TCefBase base; } TCefZipReader;
typedef struct TCefSchemeHandlerFactory { TCefBase base; } TCefSchemeHandlerFactory;
typedef struct TCefCookieVisitor { TCefBase base; } TCefCookieVisitor;
typedef struct TCefStorageVisitor { TCefBase base; } TCefStorageVisitor;

}  // extern "C"
