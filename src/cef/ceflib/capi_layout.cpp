// The wire layouts of the 32-bit runtime interface. Other targets get the natural layout
// of the same declarations, which both sides of the interface share.

#include <cstddef>
#include <initializer_list>

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

// Function tables: the header, then one 4-byte slot per member. The client's getters and
// every handler's entries, in the runtime's entry order.
#define CHECK_ENTRY(type, field, index) CHECK_OFFSET(type, field, 16 + 4 * (index))
CHECK_SIZE(TCefClient, 68);
CHECK_ENTRY(TCefClient, get_life_span_handler, 0); CHECK_ENTRY(TCefClient, get_load_handler, 1);
CHECK_ENTRY(TCefClient, get_request_handler, 2); CHECK_ENTRY(TCefClient, get_display_handler, 3);
CHECK_ENTRY(TCefClient, get_focus_handler, 4); CHECK_ENTRY(TCefClient, get_keyboard_handler, 5);
CHECK_ENTRY(TCefClient, get_menu_handler, 6); CHECK_ENTRY(TCefClient, get_print_handler, 7);
CHECK_ENTRY(TCefClient, get_find_handler, 8); CHECK_ENTRY(TCefClient, get_jsdialog_handler, 9);
CHECK_ENTRY(TCefClient, get_jsbinding_handler, 10); CHECK_ENTRY(TCefClient, get_render_handler, 11);
CHECK_ENTRY(TCefClient, get_drag_handler, 12);
CHECK_SIZE(TCefLifeSpanHandler, 36);
CHECK_ENTRY(TCefLifeSpanHandler, on_before_popup, 0); CHECK_ENTRY(TCefLifeSpanHandler, on_after_created, 1);
CHECK_ENTRY(TCefLifeSpanHandler, run_modal, 2); CHECK_ENTRY(TCefLifeSpanHandler, do_close, 3);
CHECK_ENTRY(TCefLifeSpanHandler, on_before_close, 4);
CHECK_SIZE(TCefLoadHandler, 28);
CHECK_ENTRY(TCefLoadHandler, on_load_start, 0); CHECK_ENTRY(TCefLoadHandler, on_load_end, 1);
CHECK_ENTRY(TCefLoadHandler, on_load_error, 2);
CHECK_SIZE(TCefRequestHandler, 40);
CHECK_ENTRY(TCefRequestHandler, on_before_browse, 0); CHECK_ENTRY(TCefRequestHandler, on_before_resource_load, 1);
CHECK_ENTRY(TCefRequestHandler, on_resource_response, 2); CHECK_ENTRY(TCefRequestHandler, on_protocol_execution, 3);
CHECK_ENTRY(TCefRequestHandler, get_download_handler, 4); CHECK_ENTRY(TCefRequestHandler, get_auth_credentials, 5);
CHECK_SIZE(TCefDisplayHandler, 40);
CHECK_ENTRY(TCefDisplayHandler, on_nav_state_change, 0); CHECK_ENTRY(TCefDisplayHandler, on_address_change, 1);
CHECK_ENTRY(TCefDisplayHandler, on_title_change, 2); CHECK_ENTRY(TCefDisplayHandler, on_tooltip, 3);
CHECK_ENTRY(TCefDisplayHandler, on_status_message, 4); CHECK_ENTRY(TCefDisplayHandler, on_console_message, 5);
CHECK_SIZE(TCefFocusHandler, 24);
CHECK_ENTRY(TCefFocusHandler, on_take_focus, 0); CHECK_ENTRY(TCefFocusHandler, on_set_focus, 1);
CHECK_SIZE(TCefKeyboardHandler, 20);
CHECK_ENTRY(TCefKeyboardHandler, on_key_event, 0);
CHECK_SIZE(TCefMenuHandler, 28);
CHECK_ENTRY(TCefMenuHandler, on_before_menu, 0); CHECK_ENTRY(TCefMenuHandler, get_menu_label, 1);
CHECK_ENTRY(TCefMenuHandler, on_menu_action, 2);
CHECK_SIZE(TCefPrintHandler, 24);
CHECK_ENTRY(TCefPrintHandler, get_print_options, 0); CHECK_ENTRY(TCefPrintHandler, get_print_header_footer, 1);
CHECK_SIZE(TCefFindHandler, 20);
CHECK_ENTRY(TCefFindHandler, on_find_result, 0);
CHECK_SIZE(TCefJsDialogHandler, 28);
CHECK_ENTRY(TCefJsDialogHandler, on_jsalert, 0); CHECK_ENTRY(TCefJsDialogHandler, on_jsconfirm, 1);
CHECK_ENTRY(TCefJsDialogHandler, on_jsprompt, 2);
CHECK_SIZE(TCefJsBindingHandler, 20);
CHECK_ENTRY(TCefJsBindingHandler, on_jsbinding, 0);
CHECK_SIZE(TCefRenderHandler, 44);
CHECK_ENTRY(TCefRenderHandler, get_view_rect, 0); CHECK_ENTRY(TCefRenderHandler, get_screen_rect, 1);
CHECK_ENTRY(TCefRenderHandler, get_screen_point, 2); CHECK_ENTRY(TCefRenderHandler, on_popup_show, 3);
CHECK_ENTRY(TCefRenderHandler, on_popup_size, 4); CHECK_ENTRY(TCefRenderHandler, on_paint, 5);
CHECK_ENTRY(TCefRenderHandler, on_cursor_change, 6);
CHECK_SIZE(TCefDragHandler, 24);
CHECK_ENTRY(TCefDragHandler, on_drag_start, 0); CHECK_ENTRY(TCefDragHandler, on_drag_enter, 1);
#undef CHECK_ENTRY

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
CHECK_OFFSET(TCefv8Value, is_undefined, 16);
CHECK_OFFSET(TCefv8Value, is_null, 20);
CHECK_OFFSET(TCefv8Value, is_bool, 24);
CHECK_OFFSET(TCefv8Value, is_int, 28);
CHECK_OFFSET(TCefv8Value, is_double, 32);
CHECK_OFFSET(TCefv8Value, is_date, 36);
CHECK_OFFSET(TCefv8Value, is_string, 40);
CHECK_OFFSET(TCefv8Value, is_object, 44);
CHECK_OFFSET(TCefv8Value, is_array, 48);
CHECK_OFFSET(TCefv8Value, is_function, 52);
CHECK_OFFSET(TCefv8Value, is_same, 56);
CHECK_OFFSET(TCefv8Value, get_bool_value, 60);
CHECK_OFFSET(TCefv8Value, get_int_value, 64);
CHECK_OFFSET(TCefv8Value, get_double_value, 68);
CHECK_OFFSET(TCefv8Value, get_date_value, 72);
CHECK_OFFSET(TCefv8Value, get_string_value, 76);
CHECK_OFFSET(TCefv8Value, has_value_bykey, 80);
CHECK_OFFSET(TCefv8Value, has_value_byindex, 84);
CHECK_OFFSET(TCefv8Value, delete_value_bykey, 88);
CHECK_OFFSET(TCefv8Value, delete_value_byindex, 92);
CHECK_OFFSET(TCefv8Value, get_value_bykey, 96);
CHECK_OFFSET(TCefv8Value, get_value_byindex, 100);
CHECK_OFFSET(TCefv8Value, set_value_bykey, 104);
CHECK_OFFSET(TCefv8Value, set_value_byindex, 108);
CHECK_OFFSET(TCefv8Value, set_value_byaccessor, 112);
CHECK_OFFSET(TCefv8Value, get_keys, 116);
CHECK_OFFSET(TCefv8Value, get_user_data, 120);
CHECK_OFFSET(TCefv8Value, get_array_length, 124);
CHECK_OFFSET(TCefv8Value, get_function_name, 128);
CHECK_OFFSET(TCefv8Value, get_function_handler, 132);
CHECK_OFFSET(TCefv8Value, execute_function, 136);
CHECK_OFFSET(TCefv8Value, execute_function_with_context, 140);
CHECK_SIZE(TCefv8Handler, 24);
CHECK_OFFSET(TCefv8Handler, execute, 16);
CHECK_OFFSET(TCefv8Handler, execute_with_context, 20);
CHECK_SIZE(TCefv8Context, 36);
CHECK_OFFSET(TCefv8Context, get_browser, 16);
CHECK_OFFSET(TCefv8Context, get_frame, 20);
CHECK_OFFSET(TCefv8Context, get_global, 24);
CHECK_OFFSET(TCefv8Context, enter, 28);
CHECK_OFFSET(TCefv8Context, exit, 32);
CHECK_SIZE(TCefV8Accessor, 24);
CHECK_OFFSET(TCefV8Accessor, get, 16);
CHECK_OFFSET(TCefV8Accessor, set, 20);

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


// Every member of the objects the wrappers call and the program presents, at 16 + 4 × its
// place in the structure.
CHECK_OFFSET(TCefBrowser, close_browser, 20);
CHECK_OFFSET(TCefBrowser, can_go_back, 24);
CHECK_OFFSET(TCefBrowser, go_back, 28);
CHECK_OFFSET(TCefBrowser, can_go_forward, 32);
CHECK_OFFSET(TCefBrowser, go_forward, 36);
CHECK_OFFSET(TCefBrowser, reload, 40);
CHECK_OFFSET(TCefBrowser, reload_ignore_cache, 44);
CHECK_OFFSET(TCefBrowser, stop_load, 48);
CHECK_OFFSET(TCefBrowser, set_focus, 52);
CHECK_OFFSET(TCefBrowser, get_opener_window_handle, 60);
CHECK_OFFSET(TCefBrowser, is_popup, 64);
CHECK_OFFSET(TCefBrowser, has_document, 68);
CHECK_OFFSET(TCefBrowser, get_client, 72);
CHECK_OFFSET(TCefBrowser, get_focused_frame, 80);
CHECK_OFFSET(TCefBrowser, get_frame, 84);
CHECK_OFFSET(TCefBrowser, get_frame_names, 88);
CHECK_OFFSET(TCefBrowser, stop_finding, 96);
CHECK_OFFSET(TCefBrowser, set_zoom_level, 104);
CHECK_OFFSET(TCefBrowser, clear_history, 108);
CHECK_OFFSET(TCefBrowser, show_dev_tools, 112);
CHECK_OFFSET(TCefBrowser, close_dev_tools, 116);
CHECK_OFFSET(TCefBrowser, is_window_rendering_disabled, 120);
CHECK_OFFSET(TCefBrowser, get_size, 124);
CHECK_OFFSET(TCefBrowser, set_size, 128);
CHECK_OFFSET(TCefBrowser, is_popup_visible, 132);
CHECK_OFFSET(TCefBrowser, hide_popup, 136);
CHECK_OFFSET(TCefBrowser, get_image, 144);
CHECK_OFFSET(TCefBrowser, send_key_event, 148);
CHECK_OFFSET(TCefBrowser, send_mouse_click_event, 152);
CHECK_OFFSET(TCefBrowser, send_mouse_move_event, 156);
CHECK_OFFSET(TCefBrowser, send_mouse_wheel_event, 160);
CHECK_OFFSET(TCefBrowser, send_focus_event, 164);
CHECK_OFFSET(TCefFrame, undo, 16);
CHECK_OFFSET(TCefFrame, redo, 20);
CHECK_OFFSET(TCefFrame, cut, 24);
CHECK_OFFSET(TCefFrame, copy, 28);
CHECK_OFFSET(TCefFrame, paste, 32);
CHECK_OFFSET(TCefFrame, del, 36);
CHECK_OFFSET(TCefFrame, select_all, 40);
CHECK_OFFSET(TCefFrame, print, 44);
CHECK_OFFSET(TCefFrame, view_source, 48);
CHECK_OFFSET(TCefFrame, get_text, 56);
CHECK_OFFSET(TCefFrame, load_string, 68);
CHECK_OFFSET(TCefFrame, is_main, 80);
CHECK_OFFSET(TCefFrame, is_focused, 84);
CHECK_OFFSET(TCefFrame, get_name, 88);
CHECK_OFFSET(TCefFrame, get_url, 92);
CHECK_OFFSET(TCefRequest, get_url, 16);
CHECK_OFFSET(TCefRequest, set_method, 28);
CHECK_OFFSET(TCefRequest, set_post_data, 36);
CHECK_OFFSET(TCefRequest, set_header_map, 44);
CHECK_OFFSET(TCefRequest, set_flags, 56);
CHECK_OFFSET(TCefRequest, get_first_party_for_cookies, 60);
CHECK_OFFSET(TCefPostData, get_element_count, 16);
CHECK_OFFSET(TCefPostData, get_element, 20);
CHECK_OFFSET(TCefPostData, remove_element, 24);
CHECK_OFFSET(TCefPostData, add_element, 28);
CHECK_OFFSET(TCefPostData, remove_elements, 32);
CHECK_OFFSET(TCefPostDataElement, set_to_empty, 16);
CHECK_OFFSET(TCefPostDataElement, set_to_file, 20);
CHECK_OFFSET(TCefPostDataElement, set_to_bytes, 24);
CHECK_OFFSET(TCefPostDataElement, get_type, 28);
CHECK_OFFSET(TCefPostDataElement, get_file, 32);
CHECK_OFFSET(TCefPostDataElement, get_bytes_count, 36);
CHECK_OFFSET(TCefResponse, get_status, 16);
CHECK_OFFSET(TCefResponse, set_status, 20);
CHECK_OFFSET(TCefResponse, get_status_text, 24);
CHECK_OFFSET(TCefResponse, set_status_text, 28);
CHECK_OFFSET(TCefResponse, get_mime_type, 32);
CHECK_OFFSET(TCefResponse, set_mime_type, 36);
CHECK_OFFSET(TCefResponse, get_header, 40);
CHECK_OFFSET(TCefResponse, get_header_map, 44);
CHECK_OFFSET(TCefStreamReader, read, 16);
CHECK_OFFSET(TCefStreamReader, seek, 20);
CHECK_OFFSET(TCefStreamReader, tell, 24);
CHECK_OFFSET(TCefReadHandler, read, 16);
CHECK_OFFSET(TCefReadHandler, seek, 20);
CHECK_OFFSET(TCefReadHandler, tell, 24);
CHECK_OFFSET(TCefReadHandler, eof, 28);
CHECK_OFFSET(TCefDownloadHandler, received_data, 16);
CHECK_OFFSET(TCefDomDocument, get_type, 16);
CHECK_OFFSET(TCefDomDocument, get_document, 20);
CHECK_OFFSET(TCefDomDocument, get_body, 24);
CHECK_OFFSET(TCefDomDocument, get_head, 28);
CHECK_OFFSET(TCefDomDocument, get_title, 32);
CHECK_OFFSET(TCefDomDocument, get_element_by_id, 36);
CHECK_OFFSET(TCefDomDocument, get_focused_node, 40);
CHECK_OFFSET(TCefDomDocument, has_selection, 44);
CHECK_OFFSET(TCefDomDocument, get_selection_start_node, 48);
CHECK_OFFSET(TCefDomDocument, get_selection_start_offset, 52);
CHECK_OFFSET(TCefDomDocument, get_selection_end_node, 56);
CHECK_OFFSET(TCefDomDocument, get_selection_end_offset, 60);
CHECK_OFFSET(TCefDomDocument, get_selection_as_markup, 64);
CHECK_OFFSET(TCefDomDocument, get_selection_as_text, 68);
CHECK_OFFSET(TCefDomDocument, get_base_url, 72);
CHECK_OFFSET(TCefDomNode, get_type, 16);
CHECK_OFFSET(TCefDomNode, is_text, 20);
CHECK_OFFSET(TCefDomNode, is_element, 24);
CHECK_OFFSET(TCefDomNode, is_same, 28);
CHECK_OFFSET(TCefDomNode, get_name, 32);
CHECK_OFFSET(TCefDomNode, get_value, 36);
CHECK_OFFSET(TCefDomNode, set_value, 40);
CHECK_OFFSET(TCefDomNode, get_as_markup, 44);
CHECK_OFFSET(TCefDomNode, get_document, 48);
CHECK_OFFSET(TCefDomNode, get_parent, 52);
CHECK_OFFSET(TCefDomNode, get_previous_sibling, 56);
CHECK_OFFSET(TCefDomNode, get_next_sibling, 60);
CHECK_OFFSET(TCefDomNode, has_children, 64);
CHECK_OFFSET(TCefDomNode, get_first_child, 68);
CHECK_OFFSET(TCefDomNode, get_last_child, 72);
CHECK_OFFSET(TCefDomNode, has_element_attributes, 84);
CHECK_OFFSET(TCefDomNode, has_element_attribute, 88);
CHECK_OFFSET(TCefDomNode, get_element_attribute, 92);
CHECK_OFFSET(TCefDomNode, get_element_attributes, 96);
CHECK_OFFSET(TCefDomNode, set_element_attribute, 100);
CHECK_OFFSET(TCefDomEvent, get_type, 16);
CHECK_OFFSET(TCefDomEvent, get_category, 20);
CHECK_OFFSET(TCefDomEvent, get_phase, 24);
CHECK_OFFSET(TCefDomEvent, can_bubble, 28);
CHECK_OFFSET(TCefDomEvent, can_cancel, 32);
CHECK_OFFSET(TCefDomEvent, get_document, 36);
CHECK_OFFSET(TCefDomEvent, get_target, 40);
CHECK_OFFSET(TCefDomVisitor, visit, 16);
CHECK_OFFSET(TCefDomEventListener, handle_event, 16);
CHECK_OFFSET(TCefDragData, is_link, 16);
CHECK_OFFSET(TCefDragData, is_fragment, 20);
CHECK_OFFSET(TCefDragData, is_file, 24);
CHECK_OFFSET(TCefDragData, get_link_url, 28);
CHECK_OFFSET(TCefDragData, get_link_title, 32);
CHECK_OFFSET(TCefDragData, get_link_metadata, 36);
CHECK_OFFSET(TCefDragData, get_fragment_text, 40);
CHECK_OFFSET(TCefDragData, get_fragment_html, 44);
CHECK_OFFSET(TCefDragData, get_fragment_base_url, 48);
CHECK_OFFSET(TCefDragData, get_file_extension, 52);
CHECK_OFFSET(TCefDragData, get_file_name, 56);
// The option switches of the browser settings, one byte each, in two unbroken runs.
CHECK_OFFSET(TCefBrowserSettings, javascript_open_windows_disallowed, 114);
CHECK_OFFSET(TCefBrowserSettings, javascript_close_windows_disallowed, 115);
CHECK_OFFSET(TCefBrowserSettings, javascript_access_clipboard_disallowed, 116);
CHECK_OFFSET(TCefBrowserSettings, dom_paste_disabled, 117);
CHECK_OFFSET(TCefBrowserSettings, caret_browsing_enabled, 118);
CHECK_OFFSET(TCefBrowserSettings, java_disabled, 119);
CHECK_OFFSET(TCefBrowserSettings, plugins_disabled, 120);
CHECK_OFFSET(TCefBrowserSettings, universal_access_from_file_urls_allowed, 121);
CHECK_OFFSET(TCefBrowserSettings, file_access_from_file_urls_allowed, 122);
CHECK_OFFSET(TCefBrowserSettings, xss_auditor_enabled, 124);
CHECK_OFFSET(TCefBrowserSettings, image_load_disabled, 125);
CHECK_OFFSET(TCefBrowserSettings, shrink_standalone_images_to_fit, 126);
CHECK_OFFSET(TCefBrowserSettings, site_specific_quirks_disabled, 127);
CHECK_OFFSET(TCefBrowserSettings, text_area_resize_disabled, 128);
CHECK_OFFSET(TCefBrowserSettings, page_cache_disabled, 129);
CHECK_OFFSET(TCefBrowserSettings, tab_to_links_disabled, 130);
CHECK_OFFSET(TCefBrowserSettings, hyperlink_auditing_disabled, 131);

// The client's and the handlers' entries, each listed in the order of its structure: the
// header, then one 4-byte slot per entry at 16, 20, 24, ...
constexpr bool InEntryOrder(std::initializer_list<size_t> offsets) {
  size_t expected = 16;
  for (size_t offset : offsets) {
    if (offset != expected) return false;
    expected += 4;
  }
  return true;
}
// offsetof for each member in turn, through the usual rescanning of __VA_OPT__ recursion.
#define LAYOUT_EXPAND(...) LAYOUT_EXPAND3(LAYOUT_EXPAND3(LAYOUT_EXPAND3(__VA_ARGS__)))
#define LAYOUT_EXPAND3(...) LAYOUT_EXPAND1(LAYOUT_EXPAND1(LAYOUT_EXPAND1(__VA_ARGS__)))
#define LAYOUT_EXPAND1(...) __VA_ARGS__
#define LAYOUT_OFFSETS(type, member, ...) \
  offsetof(type, member) __VA_OPT__(, LAYOUT_OFFSETS_AGAIN LAYOUT_PARENS(type, __VA_ARGS__))
#define LAYOUT_OFFSETS_AGAIN() LAYOUT_OFFSETS
#define LAYOUT_PARENS ()
#define CHECK_ENTRIES(type, ...) \
  static_assert(InEntryOrder({LAYOUT_EXPAND(LAYOUT_OFFSETS(type, __VA_ARGS__))}), #type " entries")

CHECK_ENTRIES(TCefClient, get_life_span_handler, get_load_handler, get_request_handler, get_display_handler,
              get_focus_handler, get_keyboard_handler, get_menu_handler, get_print_handler, get_find_handler,
              get_jsdialog_handler, get_jsbinding_handler, get_render_handler, get_drag_handler);
CHECK_ENTRIES(TCefLifeSpanHandler, on_before_popup, on_after_created, run_modal, do_close, on_before_close);
CHECK_ENTRIES(TCefLoadHandler, on_load_start, on_load_end, on_load_error);
CHECK_ENTRIES(TCefRequestHandler, on_before_browse, on_before_resource_load, on_resource_response,
              on_protocol_execution, get_download_handler, get_auth_credentials);
CHECK_ENTRIES(TCefDisplayHandler, on_nav_state_change, on_address_change, on_title_change, on_tooltip,
              on_status_message, on_console_message);
CHECK_ENTRIES(TCefFocusHandler, on_take_focus, on_set_focus);
CHECK_ENTRIES(TCefKeyboardHandler, on_key_event);
CHECK_ENTRIES(TCefMenuHandler, on_before_menu, get_menu_label, on_menu_action);
CHECK_ENTRIES(TCefPrintHandler, get_print_options, get_print_header_footer);
CHECK_ENTRIES(TCefFindHandler, on_find_result);
CHECK_ENTRIES(TCefJsDialogHandler, on_jsalert, on_jsconfirm, on_jsprompt);
CHECK_ENTRIES(TCefJsBindingHandler, on_jsbinding);
CHECK_ENTRIES(TCefRenderHandler, get_view_rect, get_screen_rect, get_screen_point, on_popup_show, on_popup_size,
              on_paint, on_cursor_change);
CHECK_ENTRIES(TCefDragHandler, on_drag_start, on_drag_enter);

// The first fields of the records the handlers pass on by pointer, the print rectangle
// (left, top, right, bottom) and the one-byte Booleans of the pop-up features.
CHECK_OFFSET(TCefRect, x, 0);
CHECK_OFFSET(TCefWindowInfo, ExStyle, 0);
CHECK_OFFSET(TCefPopupFeatures, x, 0);
static_assert(sizeof(TCefPopupFeatures::xSet) == 1 && sizeof(TCefPopupFeatures::dialog) == 1);
CHECK_OFFSET(TCefHandlerMenuInfo, typeFlags, 0);
CHECK_OFFSET(TCefPrintInfo, DC, 0);
CHECK_SIZE(TCefPrintRect, 16);
CHECK_OFFSET(TCefPrintRect, top, 4);
CHECK_OFFSET(TCefPrintRect, right, 8);
CHECK_OFFSET(TCefPrintRect, bottom, 12);
CHECK_OFFSET(TCefPaperMetrics, paper_type, 0);
static_assert(offsetof(TCefPrintMargins, left) == 0 && offsetof(TCefPrintOptions, page_orientation) == 0);

#endif
