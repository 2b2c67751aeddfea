// Reading window.open's features, with the defaults of the browsers of the runtime's day.

#include "popup_features.h"

#include <cstdint>

namespace standin {
namespace {

// Window styles of a pop-up: an overlapped, visible top-level window.
constexpr uint32_t kPopupStyle = 0x00CF0000 /* WS_OVERLAPPEDWINDOW */ | 0x02000000 /* WS_CLIPCHILDREN */ |
                                 0x04000000 /* WS_CLIPSIBLINGS */ | 0x10000000 /* WS_VISIBLE */;
// The system chooses the place or size.
constexpr int32_t kUseDefault = INT32_MIN;

std::u16string Lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower;
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// Leading digits, with a sign: "300px" is 300, text is 0.
int32_t Number(std::u16string_view text) {
  bool negative = !text.empty() && text.front() == u'-';
  if (negative || (!text.empty() && text.front() == u'+')) text.remove_prefix(1);
  int64_t n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9' || n > INT32_MAX) break;
    n = n * 10 + (c - u'0');
  }
  return static_cast<int32_t>(negative ? -n : n);
}

// A feature named without a value, "yes" or a non-zero number is on.
TCefRecordBool Switch(std::u16string_view value, bool hasValue) {
  return !hasValue || value.empty() || value == u"yes" || Number(value) != 0 ? 1 : 0;
}

void SetNumber(int32_t& field, TCefRecordBool& set, std::u16string_view value) {
  field = Number(value);
  set = 1;
}

// Applies one feature; false when the browser does not know it.
bool Apply(TCefPopupFeatures& f, std::u16string_view key, std::u16string_view value, bool hasValue) {
  if (key == u"left" || key == u"screenx") SetNumber(f.x, f.xSet, value);
  else if (key == u"top" || key == u"screeny") SetNumber(f.y, f.ySet, value);
  else if (key == u"width" || key == u"innerwidth") SetNumber(f.width, f.widthSet, value);
  else if (key == u"height" || key == u"innerheight") SetNumber(f.height, f.heightSet, value);
  else if (key == u"menubar") f.menuBarVisible = Switch(value, hasValue);
  else if (key == u"status") f.statusBarVisible = Switch(value, hasValue);
  else if (key == u"toolbar") f.toolBarVisible = Switch(value, hasValue);
  else if (key == u"location") f.locationBarVisible = Switch(value, hasValue);
  else if (key == u"scrollbars") f.scrollbarsVisible = Switch(value, hasValue);
  else if (key == u"resizable") f.resizable = Switch(value, hasValue);
  else if (key == u"fullscreen") f.fullscreen = Switch(value, hasValue);
  else if (key == u"dialog") f.dialog = Switch(value, hasValue);
  else return false;
  return true;
}

void SetBars(TCefPopupFeatures& f, TCefRecordBool visible) {
  f.menuBarVisible = f.statusBarVisible = f.toolBarVisible = f.locationBarVisible = f.scrollbarsVisible = visible;
}

}  // namespace

PopupFeatures ParsePopupFeatures(std::u16string_view features) {
  PopupFeatures parsed;
  TCefPopupFeatures& f = parsed.record;
  f.resizable = 1;
  SetBars(f, Trim(features).empty() ? 1 : 0);
  while (!features.empty()) {
    size_t end = features.find_first_of(u",;");
    std::u16string_view item = Trim(features.substr(0, end));
    features.remove_prefix(end == std::u16string_view::npos ? features.size() : end + 1);
    if (item.empty()) continue;
    size_t eq = item.find(u'=');
    std::u16string key = Lower(Trim(item.substr(0, eq)));
    std::u16string value = eq == std::u16string_view::npos ? std::u16string() : Lower(Trim(item.substr(eq + 1)));
    if (!Apply(f, key, value, eq != std::u16string_view::npos)) parsed.additional.emplace_back(item);
  }
  return parsed;
}

TCefWindowInfo PopupWindowInfo(const TCefPopupFeatures& features) {
  TCefWindowInfo info{};
  info.Style = kPopupStyle;
  info.x = features.xSet ? features.x : kUseDefault;
  info.y = features.ySet ? features.y : kUseDefault;
  info.Width = features.widthSet ? features.width : kUseDefault;
  info.Height = features.heightSet ? features.height : kUseDefault;
  return info;
}

}  // namespace standin
