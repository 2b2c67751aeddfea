// The wire layouts of the 32-bit runtime interface. Other targets get the natural layout
// of the same declarations, which both sides of the interface share.

#include <cstddef>

#include "cef/ceflib/capi.h"

#if defined(_WIN32) && !defined(_WIN64)

#define CHECK_SIZE(type, bytes) static_assert(sizeof(type) == (bytes), #type " size")
#define CHECK_OFFSET(type, field, at) static_assert(offsetof(type, field) == (at), #type "." #field " offset")

CHECK_SIZE(TCefBase, 16);
CHECK_OFFSET(TCefBase, add_ref, 4);
CHECK_OFFSET(TCefBase, release, 8);
CHECK_OFFSET(TCefBase, get_refct, 12);

CHECK_SIZE(TCefStringUtf16, 12);
CHECK_OFFSET(TCefStringUtf16, length, 4);
CHECK_OFFSET(TCefStringUtf16, dtor, 8);
CHECK_SIZE(TCefTime, 32);

CHECK_SIZE(TCefSettings, 88);
CHECK_OFFSET(TCefSettings, multi_threaded_message_loop, 4);
CHECK_OFFSET(TCefSettings, cache_path, 8);
CHECK_OFFSET(TCefSettings, user_agent, 20);
CHECK_OFFSET(TCefSettings, product_version, 32);
CHECK_OFFSET(TCefSettings, locale, 44);
CHECK_OFFSET(TCefSettings, extra_plugin_paths, 56);
CHECK_OFFSET(TCefSettings, log_file, 60);
CHECK_OFFSET(TCefSettings, log_severity, 72);
CHECK_OFFSET(TCefSettings, graphics_implementation, 76);
CHECK_OFFSET(TCefSettings, local_storage_quota, 80);
CHECK_OFFSET(TCefSettings, session_storage_quota, 84);

CHECK_SIZE(TCefBrowserSettings, 160);
CHECK_OFFSET(TCefBrowserSettings, drag_drop_disabled, 4);
CHECK_OFFSET(TCefBrowserSettings, standard_font_family, 8);
CHECK_OFFSET(TCefBrowserSettings, fixed_font_family, 20);
CHECK_OFFSET(TCefBrowserSettings, serif_font_family, 32);
CHECK_OFFSET(TCefBrowserSettings, sans_serif_font_family, 44);
CHECK_OFFSET(TCefBrowserSettings, cursive_font_family, 56);
CHECK_OFFSET(TCefBrowserSettings, fantasy_font_family, 68);
CHECK_OFFSET(TCefBrowserSettings, default_font_size, 80);
CHECK_OFFSET(TCefBrowserSettings, default_fixed_font_size, 84);
CHECK_OFFSET(TCefBrowserSettings, minimum_font_size, 88);
CHECK_OFFSET(TCefBrowserSettings, minimum_logical_font_size, 92);
CHECK_OFFSET(TCefBrowserSettings, remote_fonts_disabled, 96);
CHECK_OFFSET(TCefBrowserSettings, default_encoding, 100);
CHECK_OFFSET(TCefBrowserSettings, encoding_detector_enabled, 112);
CHECK_OFFSET(TCefBrowserSettings, javascript_disabled, 113);
CHECK_OFFSET(TCefBrowserSettings, web_security_disabled, 123);
CHECK_OFFSET(TCefBrowserSettings, user_style_sheet_enabled, 132);
CHECK_OFFSET(TCefBrowserSettings, user_style_sheet_location, 136);
CHECK_OFFSET(TCefBrowserSettings, author_and_user_styles_disabled, 148);
CHECK_OFFSET(TCefBrowserSettings, local_storage_disabled, 149);
CHECK_OFFSET(TCefBrowserSettings, databases_disabled, 150);
CHECK_OFFSET(TCefBrowserSettings, application_cache_disabled, 151);
CHECK_OFFSET(TCefBrowserSettings, webgl_disabled, 152);
CHECK_OFFSET(TCefBrowserSettings, accelerated_compositing_enabled, 153);
CHECK_OFFSET(TCefBrowserSettings, accelerated_layers_disabled, 154);
CHECK_OFFSET(TCefBrowserSettings, accelerated_2d_canvas_disabled, 155);
CHECK_OFFSET(TCefBrowserSettings, developer_tools_disabled, 156);

CHECK_SIZE(TCefRect, 16);
CHECK_OFFSET(TCefRect, y, 4);
CHECK_OFFSET(TCefRect, width, 8);
CHECK_OFFSET(TCefRect, height, 12);

CHECK_SIZE(TCefWindowInfo, 52);
CHECK_OFFSET(TCefWindowInfo, windowName, 4);
CHECK_OFFSET(TCefWindowInfo, Style, 16);
CHECK_OFFSET(TCefWindowInfo, x, 20);
CHECK_OFFSET(TCefWindowInfo, y, 24);
CHECK_OFFSET(TCefWindowInfo, Width, 28);
CHECK_OFFSET(TCefWindowInfo, Height, 32);
CHECK_OFFSET(TCefWindowInfo, WndParent, 36);
CHECK_OFFSET(TCefWindowInfo, Menu, 40);
CHECK_OFFSET(TCefWindowInfo, m_bWindowRenderingDisabled, 44);
CHECK_OFFSET(TCefWindowInfo, Wnd, 48);
static_assert(sizeof(TCefWindowInfo::m_bWindowRenderingDisabled) == 4);

CHECK_SIZE(TCefPopupFeatures, 44);
CHECK_OFFSET(TCefPopupFeatures, xSet, 4);
CHECK_OFFSET(TCefPopupFeatures, y, 8);
CHECK_OFFSET(TCefPopupFeatures, ySet, 12);
CHECK_OFFSET(TCefPopupFeatures, width, 16);
CHECK_OFFSET(TCefPopupFeatures, widthSet, 20);
CHECK_OFFSET(TCefPopupFeatures, height, 24);
CHECK_OFFSET(TCefPopupFeatures, heightSet, 28);
CHECK_OFFSET(TCefPopupFeatures, menuBarVisible, 29);
CHECK_OFFSET(TCefPopupFeatures, statusBarVisible, 30);
CHECK_OFFSET(TCefPopupFeatures, toolBarVisible, 31);
CHECK_OFFSET(TCefPopupFeatures, locationBarVisible, 32);
CHECK_OFFSET(TCefPopupFeatures, scrollbarsVisible, 33);
CHECK_OFFSET(TCefPopupFeatures, resizable, 34);
CHECK_OFFSET(TCefPopupFeatures, fullscreen, 35);
CHECK_OFFSET(TCefPopupFeatures, dialog, 36);
CHECK_OFFSET(TCefPopupFeatures, additionalFeatures, 40);

CHECK_SIZE(TCefHandlerMenuInfo, 100);
CHECK_OFFSET(TCefHandlerMenuInfo, x, 4);
CHECK_OFFSET(TCefHandlerMenuInfo, y, 8);
CHECK_OFFSET(TCefHandlerMenuInfo, linkUrl, 12);
CHECK_OFFSET(TCefHandlerMenuInfo, imageUrl, 24);
CHECK_OFFSET(TCefHandlerMenuInfo, pageUrl, 36);
CHECK_OFFSET(TCefHandlerMenuInfo, frameUrl, 48);
CHECK_OFFSET(TCefHandlerMenuInfo, selectionText, 60);
CHECK_OFFSET(TCefHandlerMenuInfo, misspelledWord, 72);
CHECK_OFFSET(TCefHandlerMenuInfo, editFlags, 84);
CHECK_OFFSET(TCefHandlerMenuInfo, securityInfo, 88);

CHECK_SIZE(TCefPrintInfo, 32);
CHECK_OFFSET(TCefPrintInfo, Rect, 4);
CHECK_OFFSET(TCefPrintInfo, Scale, 24);
CHECK_SIZE(TCefPaperMetrics, 24);
CHECK_OFFSET(TCefPaperMetrics, length, 8);
CHECK_OFFSET(TCefPaperMetrics, width, 16);
CHECK_SIZE(TCefPrintMargins, 48);
CHECK_OFFSET(TCefPrintMargins, right, 8);
CHECK_OFFSET(TCefPrintMargins, top, 16);
CHECK_OFFSET(TCefPrintMargins, bottom, 24);
CHECK_OFFSET(TCefPrintMargins, header, 32);
CHECK_OFFSET(TCefPrintMargins, footer, 40);
CHECK_SIZE(TCefPrintOptions, 80);
CHECK_OFFSET(TCefPrintOptions, paper_metrics, 8);
CHECK_OFFSET(TCefPrintOptions, paper_margins, 32);
static_assert(sizeof(TCefPaperType) == 4 && sizeof(TCefHandlerNavtype) == 4);

// Function tables: the header, then one 4-byte slot per member.
CHECK_SIZE(TCefClient, 68);
CHECK_OFFSET(TCefClient, get_life_span_handler, 16);
CHECK_OFFSET(TCefClient, get_drag_handler, 64);
CHECK_SIZE(TCefLifeSpanHandler, 36);
CHECK_OFFSET(TCefLifeSpanHandler, on_before_popup, 16);
CHECK_OFFSET(TCefLifeSpanHandler, on_after_created, 20);
CHECK_OFFSET(TCefLifeSpanHandler, run_modal, 24);
CHECK_OFFSET(TCefLifeSpanHandler, do_close, 28);
CHECK_OFFSET(TCefLifeSpanHandler, on_before_close, 32);
CHECK_SIZE(TCefLoadHandler, 28);
CHECK_SIZE(TCefRequestHandler, 40);
CHECK_OFFSET(TCefRequestHandler, get_download_handler, 32);
CHECK_OFFSET(TCefRequestHandler, get_auth_credentials, 36);
CHECK_SIZE(TCefDisplayHandler, 40);
CHECK_OFFSET(TCefDisplayHandler, on_tooltip, 28);
CHECK_SIZE(TCefFocusHandler, 24);
CHECK_SIZE(TCefKeyboardHandler, 20);
CHECK_SIZE(TCefMenuHandler, 28);
CHECK_SIZE(TCefPrintHandler, 24);
CHECK_SIZE(TCefFindHandler, 20);
CHECK_SIZE(TCefJsDialogHandler, 28);
CHECK_SIZE(TCefJsBindingHandler, 20);
CHECK_SIZE(TCefRenderHandler, 44);
CHECK_OFFSET(TCefRenderHandler, on_cursor_change, 40);
CHECK_SIZE(TCefDragHandler, 24);

CHECK_SIZE(TCefBrowser, 172);
CHECK_OFFSET(TCefBrowser, parent_window_will_close, 16);
CHECK_OFFSET(TCefBrowser, get_window_handle, 56);
CHECK_OFFSET(TCefBrowser, get_main_frame, 76);
CHECK_OFFSET(TCefBrowser, find, 92);
CHECK_OFFSET(TCefBrowser, get_zoom_level, 100);
CHECK_OFFSET(TCefBrowser, invalidate, 140);
CHECK_OFFSET(TCefBrowser, send_capture_lost_event, 168);

CHECK_SIZE(TCefFrame, 104);
CHECK_OFFSET(TCefFrame, get_source, 52);
CHECK_OFFSET(TCefFrame, load_request, 60);
CHECK_OFFSET(TCefFrame, load_url, 64);
CHECK_OFFSET(TCefFrame, load_stream, 72);
CHECK_OFFSET(TCefFrame, execute_java_script, 76);
CHECK_OFFSET(TCefFrame, get_browser, 96);
CHECK_OFFSET(TCefFrame, visit_dom, 100);

CHECK_SIZE(TCefv8Value, 144);
CHECK_OFFSET(TCefv8Value, is_same, 56);
CHECK_OFFSET(TCefv8Value, get_date_value, 72);
CHECK_OFFSET(TCefv8Value, set_value_byaccessor, 112);
CHECK_OFFSET(TCefv8Value, get_keys, 116);
CHECK_OFFSET(TCefv8Value, execute_function, 136);
CHECK_OFFSET(TCefv8Value, execute_function_with_context, 140);
CHECK_SIZE(TCefv8Handler, 24);
CHECK_SIZE(TCefv8Context, 36);
CHECK_OFFSET(TCefv8Context, exit, 32);
CHECK_SIZE(TCefV8Accessor, 24);

CHECK_SIZE(TCefDownloadHandler, 24);
CHECK_OFFSET(TCefDownloadHandler, complete, 20);
CHECK_SIZE(TCefStreamReader, 32);
CHECK_OFFSET(TCefStreamReader, eof, 28);
CHECK_SIZE(TCefReadHandler, 32);

CHECK_SIZE(TCefRequest, 68);
CHECK_OFFSET(TCefRequest, set_url, 20);
CHECK_OFFSET(TCefRequest, get_method, 24);
CHECK_OFFSET(TCefRequest, get_post_data, 32);
CHECK_OFFSET(TCefRequest, get_header_map, 40);
CHECK_OFFSET(TCefRequest, set, 48);
CHECK_OFFSET(TCefRequest, get_flags, 52);
CHECK_OFFSET(TCefRequest, set_first_party_for_cookies, 64);
CHECK_SIZE(TCefPostData, 36);
CHECK_SIZE(TCefPostDataElement, 44);
CHECK_OFFSET(TCefPostDataElement, get_bytes, 40);
CHECK_SIZE(TCefResponse, 52);
CHECK_OFFSET(TCefResponse, set_header_map, 48);

CHECK_SIZE(TCefDomDocument, 80);
CHECK_OFFSET(TCefDomDocument, get_complete_url, 76);
CHECK_SIZE(TCefDomNode, 108);
CHECK_OFFSET(TCefDomNode, add_event_listener, 76);
CHECK_OFFSET(TCefDomNode, get_element_tag_name, 80);
CHECK_OFFSET(TCefDomNode, get_element_inner_text, 104);
CHECK_SIZE(TCefDomEvent, 48);
CHECK_OFFSET(TCefDomEvent, get_current_target, 44);
CHECK_SIZE(TCefDomVisitor, 20);
CHECK_SIZE(TCefDomEventListener, 20);

CHECK_SIZE(TCefDragData, 64);
CHECK_OFFSET(TCefDragData, get_file_names, 60);

#endif
