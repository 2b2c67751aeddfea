#pragma once
// The records and enumerations that cross with the runtime's calls: runtime and browser
// settings, window and pop-up records, menus, printing, keys, addresses, cookies and the
// events' enumerations.

#include "cef/ceflib/capi_base.h"

extern "C" {

// The record handed to cef_initialize.
typedef struct TCefSettings {
  uint32_t size;
  TCefRecordBool multi_threaded_message_loop;
  TCefString cache_path;
  TCefString user_agent;
  TCefString product_version;
  TCefString locale;
  TCefStringList extra_plugin_paths;
  TCefString log_file;
  int32_t log_severity;
  int32_t graphics_implementation;
  uint32_t local_storage_quota;
  uint32_t session_storage_quota;
} TCefSettings;

// The record every new browser receives.
typedef struct TCefBrowserSettings {
  uint32_t size;
  TCefRecordBool drag_drop_disabled;
  TCefString standard_font_family;
  TCefString fixed_font_family;
  TCefString serif_font_family;
  TCefString sans_serif_font_family;
  TCefString cursive_font_family;
  TCefString fantasy_font_family;
  int32_t default_font_size;
  int32_t default_fixed_font_size;
  int32_t minimum_font_size;
  int32_t minimum_logical_font_size;
  TCefRecordBool remote_fonts_disabled;
  TCefString default_encoding;
  TCefRecordBool encoding_detector_enabled;
  TCefRecordBool javascript_disabled;
  TCefRecordBool javascript_open_windows_disallowed;
  TCefRecordBool javascript_close_windows_disallowed;
  TCefRecordBool javascript_access_clipboard_disallowed;
  TCefRecordBool dom_paste_disabled;
  TCefRecordBool caret_browsing_enabled;
  TCefRecordBool java_disabled;
  TCefRecordBool plugins_disabled;
  TCefRecordBool universal_access_from_file_urls_allowed;
  TCefRecordBool file_access_from_file_urls_allowed;
  TCefRecordBool web_security_disabled;
  TCefRecordBool xss_auditor_enabled;
  TCefRecordBool image_load_disabled;
  TCefRecordBool shrink_standalone_images_to_fit;
  TCefRecordBool site_specific_quirks_disabled;
  TCefRecordBool text_area_resize_disabled;
  TCefRecordBool page_cache_disabled;
  TCefRecordBool tab_to_links_disabled;
  TCefRecordBool hyperlink_auditing_disabled;
  TCefRecordBool user_style_sheet_enabled;
  TCefString user_style_sheet_location;
  TCefRecordBool author_and_user_styles_disabled;
  TCefRecordBool local_storage_disabled;
  TCefRecordBool databases_disabled;
  TCefRecordBool application_cache_disabled;
  TCefRecordBool webgl_disabled;
  TCefRecordBool accelerated_compositing_enabled;
  TCefRecordBool accelerated_layers_disabled;
  TCefRecordBool accelerated_2d_canvas_disabled;
  TCefRecordBool developer_tools_disabled;
} TCefBrowserSettings;

typedef struct TCefRect {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
} TCefRect;

typedef struct TCefWindowInfo {
  uint32_t ExStyle;
  TCefString windowName;
  uint32_t Style;
  int32_t x;
  int32_t y;
  int32_t Width;
  int32_t Height;
  TCefWindowHandle WndParent;
  TCefMenuHandle Menu;
  TCefBool m_bWindowRenderingDisabled;  // 32 bits, unlike the one-byte record Booleans
  TCefWindowHandle Wnd;
} TCefWindowInfo;

typedef struct TCefPopupFeatures {
  int32_t x;
  TCefRecordBool xSet;
  int32_t y;
  TCefRecordBool ySet;
  int32_t width;
  TCefRecordBool widthSet;
  int32_t height;
  TCefRecordBool heightSet;
  TCefRecordBool menuBarVisible;
  TCefRecordBool statusBarVisible;
  TCefRecordBool toolBarVisible;
  TCefRecordBool locationBarVisible;
  TCefRecordBool scrollbarsVisible;
  TCefRecordBool resizable;
  TCefRecordBool fullscreen;
  TCefRecordBool dialog;
  TCefStringList additionalFeatures;
} TCefPopupFeatures;

typedef struct TCefHandlerMenuInfo {
  int32_t typeFlags;
  int32_t x;
  int32_t y;
  TCefString linkUrl;
  TCefString imageUrl;
  TCefString pageUrl;
  TCefString frameUrl;
  TCefString selectionText;
  TCefString misspelledWord;
  int32_t editFlags;
  TCefString securityInfo;
} TCefHandlerMenuInfo;

// Left, top, right, bottom: not a TCefRect.
typedef struct TCefPrintRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
} TCefPrintRect;

typedef struct TCefPrintInfo {
  TCefDeviceContext DC;
  TCefPrintRect Rect;
  alignas(8) double Scale;
} TCefPrintInfo;

typedef enum TCefPaperType : int32_t {
  PT_LETTER,
  PT_LEGAL,
  PT_EXECUTIVE,
  PT_A3,
  PT_A4,
  PT_CUSTOM,
} TCefPaperType;

typedef enum TCefPageOrientation : int32_t {
  PORTRAIT,
  LANDSCAPE,
} TCefPageOrientation;

typedef struct TCefPaperMetrics {
  TCefPaperType paper_type;
  alignas(8) double length;
  alignas(8) double width;
} TCefPaperMetrics;

typedef struct TCefPrintMargins {
  alignas(8) double left;
  alignas(8) double right;
  alignas(8) double top;
  alignas(8) double bottom;
  alignas(8) double header;
  alignas(8) double footer;
} TCefPrintMargins;

typedef struct TCefPrintOptions {
  TCefPageOrientation page_orientation;
  TCefPaperMetrics paper_metrics;
  TCefPrintMargins paper_margins;
} TCefPrintOptions;

typedef enum TCefHandlerNavtype : int32_t {
  NAVTYPE_LINKCLICKED,
  NAVTYPE_FORMSUBMITTED,
  NAVTYPE_BACKFORWARD,
  NAVTYPE_RELOAD,
  NAVTYPE_FORMRESUBMITTED,
  NAVTYPE_OTHER,
} TCefHandlerNavtype;

typedef enum TCefHandlerStatusType : int32_t {
  STATUSTYPE_TEXT,
  STATUSTYPE_MOUSEOVER_URL,
  STATUSTYPE_KEYBOARD_FOCUS_URL,
} TCefHandlerStatusType;

typedef enum TCefHandlerFocusSource : int32_t {
  FOCUS_SOURCE_NAVIGATION,
  FOCUS_SOURCE_SYSTEM,
  FOCUS_SOURCE_WIDGET,
} TCefHandlerFocusSource;

typedef enum TCefHandlerKeyEventType : int32_t {
  KEYEVENT_RAWKEYDOWN,
  KEYEVENT_KEYDOWN,
  KEYEVENT_KEYUP,
  KEYEVENT_CHAR,
} TCefHandlerKeyEventType;

// A value of the runtime's menu-command numbering, passed through unchanged.
typedef int32_t TCefHandlerMenuId;

// The runtime's thread identifiers for tasks; the program's own thread is TID_UI.
typedef enum TCefThreadId : int32_t {
  TID_UI,
  TID_IO,
  TID_FILE,
} TCefThreadId;

typedef enum TCefStorageType : int32_t {
  ST_LOCALSTORAGE,
  ST_SESSIONSTORAGE,
} TCefStorageType;

// The parts of an address, for cef_parse_url and cef_create_url.
typedef struct TCefUrlParts {
  TCefString spec;
  TCefString scheme;
  TCefString username;
  TCefString password;
  TCefString host;
  TCefString port;
  TCefString path;
  TCefString query;
} TCefUrlParts;

typedef struct TCefCookie {
  TCefString name;
  TCefString value;
  TCefString domain;
  TCefString path;
  TCefBool secure;
  TCefBool httponly;
  TCefTime creation;
  TCefTime last_access;
  TCefBool has_expires;
  TCefTime expires;
} TCefCookie;

}  // extern "C"
