#include "cef/ceflib/browser_settings.h"

#include "cef/ceflib/strings.h"

namespace cef {
namespace {

using Settings = TCefBrowserSettings;

// The record's switch for each option, in the options' order.
constexpr TCefRecordBool Settings::*kOptionFields[kChromiumOptionCount] = {
    &Settings::drag_drop_disabled,
    &Settings::encoding_detector_enabled,
    &Settings::javascript_disabled,
    &Settings::javascript_open_windows_disallowed,
    &Settings::javascript_close_windows_disallowed,
    &Settings::javascript_access_clipboard_disallowed,
    &Settings::dom_paste_disabled,
    &Settings::caret_browsing_enabled,
    &Settings::java_disabled,
    &Settings::plugins_disabled,
    &Settings::universal_access_from_file_urls_allowed,
    &Settings::file_access_from_file_urls_allowed,
    &Settings::web_security_disabled,
    &Settings::xss_auditor_enabled,
    &Settings::image_load_disabled,
    &Settings::shrink_standalone_images_to_fit,
    &Settings::site_specific_quirks_disabled,
    &Settings::text_area_resize_disabled,
    &Settings::page_cache_disabled,
    &Settings::tab_to_links_disabled,
    &Settings::hyperlink_auditing_disabled,
    &Settings::user_style_sheet_enabled,
    &Settings::author_and_user_styles_disabled,
    &Settings::local_storage_disabled,
    &Settings::databases_disabled,
    &Settings::application_cache_disabled,
    &Settings::webgl_disabled,
    &Settings::accelerated_compositing_enabled,
    &Settings::accelerated_layers_disabled,
    &Settings::accelerated_2d_canvas_disabled,
    &Settings::developer_tools_disabled,
};

TCefRecordBool RecordBool(bool value) { return value ? 1 : 0; }

}  // namespace

void CefFillBrowserSettings(TCefBrowserSettings& settings, TChromiumOptions options,
                            const TChromiumFontOptions& fontOptions, const std::u16string& defaultEncoding,
                            const std::u16string& userStyleSheetLocation) {
  for (int32_t n = 0; n < kChromiumOptionCount; ++n)
    settings.*kOptionFields[n] = RecordBool(options.Contains(static_cast<TChromiumOption>(n)));
  settings.standard_font_family = CefStringView(fontOptions.StandardFontFamily());
  settings.fixed_font_family = CefStringView(fontOptions.FixedFontFamily());
  settings.serif_font_family = CefStringView(fontOptions.SerifFontFamily());
  settings.sans_serif_font_family = CefStringView(fontOptions.SansSerifFontFamily());
  settings.cursive_font_family = CefStringView(fontOptions.CursiveFontFamily());
  settings.fantasy_font_family = CefStringView(fontOptions.FantasyFontFamily());
  settings.default_font_size = fontOptions.DefaultFontSize();
  settings.default_fixed_font_size = fontOptions.DefaultFixedFontSize();
  settings.minimum_font_size = fontOptions.MinimumFontSize();
  settings.minimum_logical_font_size = fontOptions.MinimumLogicalFontSize();
  settings.remote_fonts_disabled = RecordBool(fontOptions.RemoteFontsDisabled());
  settings.default_encoding = CefStringView(defaultEncoding);
  settings.user_style_sheet_location = CefStringView(userStyleSheetLocation);
}

}  // namespace cef
