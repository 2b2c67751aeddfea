#include "cef/cefvcl/chromium_resource.h"

#include <array>

#include "cef/cefvcl/chromium.h"
#include "ui/form_reader.h"

namespace cef {
namespace {

// The options' names in a resource, in the enumeration's order.
constexpr std::array<const char16_t*, kChromiumOptionCount> kOptionNames = {
    u"coDragDropDisabled",
    u"coEncodingDetectorEnabled",
    u"coJavascriptDisabled",
    u"coJavascriptOpenWindowsDisallowed",
    u"coJavascriptCloseWindowsDisallowed",
    u"coJavascriptAccessClipboardDisallowed",
    u"coDomPasteDisabled",
    u"coCaretBrowsingEnabled",
    u"coJavaDisabled",
    u"coPluginsDisabled",
    u"coUniversalAccessFromFileUrlsAllowed",
    u"coFileAccessFromFileUrlsAllowed",
    u"coWebSecurityDisabled",
    u"coXssAuditorEnabled",
    u"coImageLoadDisabled",
    u"coShrinkStandaloneImagesToFit",
    u"coSiteSpecificQuirksDisabled",
    u"coTextAreaResizeDisabled",
    u"coPageCacheDisabled",
    u"coTabToLinksDisabled",
    u"coHyperlinkAuditingDisabled",
    u"coUserStyleSheetEnabled",
    u"coAuthorAndUserStylesDisabled",
    u"coLocalStorageDisabled",
    u"coDatabasesDisabled",
    u"coApplicationCacheDisabled",
    u"coWebglDisabled",
    u"coAcceleratedCompositingEnabled",
    u"coAcceleratedLayersDisabled",
    u"coAccelerated2dCanvasDisabled",
    u"coDeveloperToolsDisabled",
};

TChromiumOptions OptionsValue(const ui::LayoutProperty& p, ui::FormReader& reader) {
  TChromiumOptions options;
  for (const std::u16string& name : reader.SetValue(p)) {
    int32_t option = 0;
    while (option < kChromiumOptionCount && name != kOptionNames[static_cast<size_t>(option)]) ++option;
    if (option == kChromiumOptionCount) reader.Fail(p, u"unknown option " + name);
    options.Include(static_cast<TChromiumOption>(option));
  }
  return options;
}

int32_t IntegerValue(const ui::LayoutProperty& p, ui::FormReader& reader) {
  return static_cast<int32_t>(reader.Integer(p));
}

bool ReadFontOption(TChromiumFontOptions& fonts, const std::u16string& n, const ui::LayoutProperty& p,
                    ui::FormReader& reader) {
  if (n == u"FixedFontFamily") fonts.SetFixedFontFamily(reader.String(p));
  else if (n == u"SerifFontFamily") fonts.SetSerifFontFamily(reader.String(p));
  else if (n == u"SansSerifFontFamily") fonts.SetSansSerifFontFamily(reader.String(p));
  else if (n == u"CursiveFontFamily") fonts.SetCursiveFontFamily(reader.String(p));
  else if (n == u"FantasyFontFamily") fonts.SetFantasyFontFamily(reader.String(p));
  else if (n == u"DefaultFontSize") fonts.SetDefaultFontSize(IntegerValue(p, reader));
  else if (n == u"DefaultFixedFontSize") fonts.SetDefaultFixedFontSize(IntegerValue(p, reader));
  else if (n == u"MinimumFontSize") fonts.SetMinimumFontSize(IntegerValue(p, reader));
  else if (n == u"MinimumLogicalFontSize") fonts.SetMinimumLogicalFontSize(IntegerValue(p, reader));
  else if (n == u"RemoteFontsDisabled") fonts.SetRemoteFontsDisabled(reader.Boolean(p));
  else return false;  // StandardFontFamily included: it has no writer
  return true;
}

}  // namespace

bool ReadChromiumProperty(TCustomChromium& control, const ui::LayoutProperty& p, ui::FormReader& reader) {
  const std::u16string& n = p.name;
  static const std::u16string kFontPrefix = u"FontOptions.";
  if (n == u"DefaultUrl") control.SetDefaultUrl(reader.String(p));
  else if (n == u"Options") control.SetOptions(OptionsValue(p, reader));
  else if (n == u"DefaultEncoding") control.SetDefaultEncoding(reader.String(p));
  else if (n == u"UserStyleSheetLocation") control.SetUserStyleSheetLocation(reader.String(p));
  else if (n.rfind(kFontPrefix, 0) == 0) return ReadFontOption(control.FontOptions(), n.substr(kFontPrefix.size()), p, reader);
#define CEF_READ_EVENT(event, type) \
  else if (n == u## #event) control.Set##event(reader.Method<type>(p));
  CEF_CHROMIUM_EVENTS(CEF_READ_EVENT)
#undef CEF_READ_EVENT
  else return false;
  return true;
}

void RegisterChromiumClass() {
  ui::FormReader::RegisterClass(u"TChromium",
                                [](ui::TComponent* owner) -> ui::TComponent* { return owner->CreateOwned<TChromium>(); });
}

}  // namespace cef
