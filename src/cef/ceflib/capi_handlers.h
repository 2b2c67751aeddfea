#pragma once
// The client and its thirteen handler kinds,
// the program's structures that the runtime calls when it has something to report or ask.

#include "cef/ceflib/capi_objects.h"

extern "C" {

typedef struct TCefLifeSpanHandler TCefLifeSpanHandler;
typedef struct TCefLoadHandler TCefLoadHandler;
typedef struct TCefRequestHandler TCefRequestHandler;
typedef struct TCefDisplayHandler TCefDisplayHandler;
typedef struct TCefFocusHandler TCefFocusHandler;
typedef struct TCefKeyboardHandler TCefKeyboardHandler;
typedef struct TCefMenuHandler TCefMenuHandler;
typedef struct TCefPrintHandler TCefPrintHandler;
typedef struct TCefFindHandler TCefFindHandler;
typedef struct TCefJsDialogHandler TCefJsDialogHandler;
typedef struct TCefJsBindingHandler TCefJsBindingHandler;
typedef struct TCefRenderHandler TCefRenderHandler;
typedef struct TCefDragHandler TCefDragHandler;

struct TCefClient {
  TCefBase base;
  TCefLifeSpanHandler*(CEF_CALLBACK* get_life_span_handler)(TCefClient* self);
  TCefLoadHandler*(CEF_CALLBACK* get_load_handler)(TCefClient* self);
  TCefRequestHandler*(CEF_CALLBACK* get_request_handler)(TCefClient* self);
  TCefDisplayHandler*(CEF_CALLBACK* get_display_handler)(TCefClient* self);
  TCefFocusHandler*(CEF_CALLBACK* get_focus_handler)(TCefClient* self);
  TCefKeyboardHandler*(CEF_CALLBACK* get_keyboard_handler)(TCefClient* self);
  TCefMenuHandler*(CEF_CALLBACK* get_menu_handler)(TCefClient* self);
  TCefPrintHandler*(CEF_CALLBACK* get_print_handler)(TCefClient* self);
  TCefFindHandler*(CEF_CALLBACK* get_find_handler)(TCefClient* self);
  TCefJsDialogHandler*(CEF_CALLBACK* get_jsdialog_handler)(TCefClient* self);
  TCefJsBindingHandler*(CEF_CALLBACK* get_jsbinding_handler)(TCefClient* self);
  TCefRenderHandler*(CEF_CALLBACK* get_render_handler)(TCefClient* self);
  TCefDragHandler*(CEF_CALLBACK* get_drag_handler)(TCefClient* self);
};

// Wire order: popup, after created, run modal, close, before close.
struct TCefLifeSpanHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_before_popup)(TCefLifeSpanHandler* self, TCefBrowser* parentBrowser,
                                          TCefPopupFeatures* popupFeatures, TCefWindowInfo* windowInfo,
                                          TCefString* url, TCefClient** client, TCefBrowserSettings* settings);
  void(CEF_CALLBACK* on_after_created)(TCefLifeSpanHandler* self, TCefBrowser* browser);
  TCefBool(CEF_CALLBACK* run_modal)(TCefLifeSpanHandler* self, TCefBrowser* browser);
  TCefBool(CEF_CALLBACK* do_close)(TCefLifeSpanHandler* self, TCefBrowser* browser);
  void(CEF_CALLBACK* on_before_close)(TCefLifeSpanHandler* self, TCefBrowser* browser);
};

struct TCefLoadHandler {
  TCefBase base;
  void(CEF_CALLBACK* on_load_start)(TCefLoadHandler* self, TCefBrowser* browser, TCefFrame* frame);
  void(CEF_CALLBACK* on_load_end)(TCefLoadHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                  int32_t httpStatusCode);
  TCefBool(CEF_CALLBACK* on_load_error)(TCefLoadHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                        int32_t errorCode, const TCefString* failedUrl, TCefString* errorText);
};

struct TCefRequestHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_before_browse)(TCefRequestHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                           TCefRequest* request, TCefHandlerNavtype navType,
                                           TCefBool isRedirect);
  TCefBool(CEF_CALLBACK* on_before_resource_load)(TCefRequestHandler* self, TCefBrowser* browser,
                                                  TCefRequest* request, TCefString* redirectUrl,
                                                  TCefStreamReader** resourceStream, TCefResponse* response,
                                                  int32_t loadFlags);
  void(CEF_CALLBACK* on_resource_response)(TCefRequestHandler* self, TCefBrowser* browser,
                                           const TCefString* url, TCefResponse* response, TCefBase** filter);
  TCefBool(CEF_CALLBACK* on_protocol_execution)(TCefRequestHandler* self, TCefBrowser* browser,
                                                const TCefString* url, TCefBool* allowOSExecution);
  // The content length takes two 32-bit slots on the 32-bit wire, low half first.
  TCefBool(CEF_CALLBACK* get_download_handler)(TCefRequestHandler* self, TCefBrowser* browser,
                                               const TCefString* mimeType, const TCefString* fileName,
                                               int64_t contentLength, TCefDownloadHandler** handler);
  // The wire has the host ahead of the port.
  TCefBool(CEF_CALLBACK* get_auth_credentials)(TCefRequestHandler* self, TCefBrowser* browser,
                                               TCefBool isProxy, const TCefString* host, int32_t port,
                                               const TCefString* realm, const TCefString* scheme,
                                               TCefString* username, TCefString* password);
};

struct TCefDisplayHandler {
  TCefBase base;
  void(CEF_CALLBACK* on_nav_state_change)(TCefDisplayHandler* self, TCefBrowser* browser, TCefBool canGoBack,
                                          TCefBool canGoForward);
  void(CEF_CALLBACK* on_address_change)(TCefDisplayHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                        const TCefString* url);
  void(CEF_CALLBACK* on_title_change)(TCefDisplayHandler* self, TCefBrowser* browser, const TCefString* title);
  TCefBool(CEF_CALLBACK* on_tooltip)(TCefDisplayHandler* self, TCefBrowser* browser, TCefString* text);
  void(CEF_CALLBACK* on_status_message)(TCefDisplayHandler* self, TCefBrowser* browser,
                                        const TCefString* value, TCefHandlerStatusType type);
  TCefBool(CEF_CALLBACK* on_console_message)(TCefDisplayHandler* self, TCefBrowser* browser,
                                             const TCefString* message, const TCefString* source, int32_t line);
};

struct TCefFocusHandler {
  TCefBase base;
  void(CEF_CALLBACK* on_take_focus)(TCefFocusHandler* self, TCefBrowser* browser, TCefBool next);
  TCefBool(CEF_CALLBACK* on_set_focus)(TCefFocusHandler* self, TCefBrowser* browser,
                                       TCefHandlerFocusSource source);
};

struct TCefKeyboardHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_key_event)(TCefKeyboardHandler* self, TCefBrowser* browser,
                                       TCefHandlerKeyEventType type, int32_t code, int32_t modifiers,
                                       TCefBool isSystemKey);
};

struct TCefMenuHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_before_menu)(TCefMenuHandler* self, TCefBrowser* browser,
                                         const TCefHandlerMenuInfo* menuInfo);
  void(CEF_CALLBACK* get_menu_label)(TCefMenuHandler* self, TCefBrowser* browser, TCefHandlerMenuId menuId,
                                     TCefString* label);
  TCefBool(CEF_CALLBACK* on_menu_action)(TCefMenuHandler* self, TCefBrowser* browser, TCefHandlerMenuId menuId);
};

struct TCefPrintHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* get_print_options)(TCefPrintHandler* self, TCefBrowser* browser,
                                            TCefPrintOptions* printOptions);
  TCefBool(CEF_CALLBACK* get_print_header_footer)(
      TCefPrintHandler* self, TCefBrowser* browser, TCefFrame* frame, const TCefPrintInfo* printInfo,
      const TCefString* url, const TCefString* title, int32_t currentPage, int32_t maxPages,
      TCefString* topLeft, TCefString* topCenter, TCefString* topRight, TCefString* bottomLeft,
      TCefString* bottomCenter, TCefString* bottomRight);
};

// The wire has the identifier ahead of the count.
struct TCefFindHandler {
  TCefBase base;
  void(CEF_CALLBACK* on_find_result)(TCefFindHandler* self, TCefBrowser* browser, TCefBool identifier,
                                     int32_t count, const TCefRect* selectionRect, TCefBool activeMatchOrdinal,
                                     TCefBool finalUpdate);
};

struct TCefJsDialogHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_jsalert)(TCefJsDialogHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                     const TCefString* message);
  TCefBool(CEF_CALLBACK* on_jsconfirm)(TCefJsDialogHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                       const TCefString* message, TCefBool* retval);
  TCefBool(CEF_CALLBACK* on_jsprompt)(TCefJsDialogHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                      const TCefString* message, const TCefString* defaultValue,
                                      TCefBool* retval, TCefString* result);
};

struct TCefJsBindingHandler {
  TCefBase base;
  void(CEF_CALLBACK* on_jsbinding)(TCefJsBindingHandler* self, TCefBrowser* browser, TCefFrame* frame,
                                   TCefv8Value* object);
};

struct TCefRenderHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* get_view_rect)(TCefRenderHandler* self, TCefBrowser* browser, TCefRect* rect);
  TCefBool(CEF_CALLBACK* get_screen_rect)(TCefRenderHandler* self, TCefBrowser* browser, TCefRect* rect);
  TCefBool(CEF_CALLBACK* get_screen_point)(TCefRenderHandler* self, TCefBrowser* browser, int32_t viewX,
                                           int32_t viewY, int32_t* screenX, int32_t* screenY);
  void(CEF_CALLBACK* on_popup_show)(TCefRenderHandler* self, TCefBrowser* browser, TCefBool show);
  void(CEF_CALLBACK* on_popup_size)(TCefRenderHandler* self, TCefBrowser* browser, const TCefRect* rect);
  void(CEF_CALLBACK* on_paint)(TCefRenderHandler* self, TCefBrowser* browser, int32_t type,
                               const TCefRect* dirtyRect, const void* buffer);
  void(CEF_CALLBACK* on_cursor_change)(TCefRenderHandler* self, TCefBrowser* browser, TCefCursorHandle cursor);
};

struct TCefDragHandler {
  TCefBase base;
  TCefBool(CEF_CALLBACK* on_drag_start)(TCefDragHandler* self, TCefBrowser* browser, TCefDragData* dragData,
                                        int32_t mask);
  TCefBool(CEF_CALLBACK* on_drag_enter)(TCefDragHandler* self, TCefBrowser* browser, TCefDragData* dragData,
                                        int32_t mask);
};

}  // extern "C"
