// The stand-in's strings, lists and maps are real: the bridge's tests rely on them.

#include <gtest/gtest.h>

#include "support/standin_control.h"

namespace {

using testing_support::ProbeRuntime;

TCefString View(const std::u16string& s) {
  return {const_cast<char16_t*>(s.data()), static_cast<uint32_t>(s.size()), nullptr};
}

std::u16string Take(const cef::CefExports& api, TCefString& s) {
  std::u16string text = s.str ? std::u16string(s.str, s.length) : std::u16string();
  api.cef_string_utf16_clear(&s);
  return text;
}

TEST(StandinStringsTest, Utf8ConversionsRejectIllFormedInput) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  TCefString out{};
  EXPECT_EQ(api.cef_string_utf8_to_utf16("a\xFF" "b", 3, &out), 0);
  EXPECT_EQ(Take(api, out), u"a\uFFFDb");
  EXPECT_EQ(api.cef_string_utf8_to_utf16("\xED\xA0\x80", 3, &out), 0) << "an encoded surrogate";
  Take(api, out);
  char16_t lone[] = {u'x', char16_t(0xDC00)};
  TCefStringUtf8 utf8{};
  EXPECT_EQ(api.cef_string_utf16_to_utf8(lone, 2, &utf8), 0);
  EXPECT_EQ(std::string(utf8.str, utf8.length), "x\xEF\xBF\xBD");
  api.cef_string_utf8_clear(&utf8);
}

TEST(StandinStringsTest, SetWithoutCopyBorrowsAndClearLeavesBorrowedCharactersAlone) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  std::u16string text = u"빌린 글";
  TCefString s{};
  api.cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), &s, 0);
  EXPECT_EQ(s.str, text.data());
  EXPECT_EQ(s.dtor, nullptr);
  api.cef_string_utf16_clear(&s);
  EXPECT_EQ(s.str, nullptr);
  EXPECT_EQ(text, u"빌린 글");
  EXPECT_EQ(probe.Control().standin_live_objects("String"), 0);
}

TEST(StandinStringsTest, CompareOrdersByCodeUnitsThenLength) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  std::u16string a = u"가", b = u"나", ab = u"가나";
  TCefString va = View(a), vb = View(b), vab = View(ab);
  EXPECT_LT(api.cef_string_utf16_cmp(&va, &vb), 0);
  EXPECT_GT(api.cef_string_utf16_cmp(&vb, &va), 0);
  EXPECT_LT(api.cef_string_utf16_cmp(&va, &vab), 0);
  EXPECT_EQ(api.cef_string_utf16_cmp(&va, &va), 0);
}

TEST(StandinStringsTest, AsciiAndWideConversionsKeepEveryCharacter) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  TCefString out{};
  api.cef_string_ascii_to_utf16("/auth", 5, &out);
  EXPECT_EQ(Take(api, out), u"/auth");
  std::wstring wide = L"\uD55C\U0001F600";
  api.cef_string_wide_to_utf16(wide.data(), static_cast<uint32_t>(wide.size()), &out);
  EXPECT_EQ(Take(api, out), u"\uD55C\U0001F600");
}

TEST(StandinStringsTest, MapsKeepOrderAndDuplicateKeys) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  TCefStringMap map = api.cef_string_map_alloc();
  std::u16string k1 = u"Accept", v1 = u"*/*", v2 = u"text/html", k2 = u"언어", v3 = u"ko";
  TCefString tk1 = View(k1), tv1 = View(v1), tv2 = View(v2), tk2 = View(k2), tv3 = View(v3);
  api.cef_string_map_append(map, &tk1, &tv1);
  api.cef_string_map_append(map, &tk2, &tv3);
  api.cef_string_map_append(map, &tk1, &tv2);
  EXPECT_EQ(api.cef_string_map_size(map), 3);
  TCefString out{};
  ASSERT_EQ(api.cef_string_map_find(map, &tk1, &out), 1);
  EXPECT_EQ(Take(api, out), u"*/*");
  ASSERT_EQ(api.cef_string_map_key(map, 1, &out), 1);
  EXPECT_EQ(Take(api, out), u"언어");
  ASSERT_EQ(api.cef_string_map_value(map, 2, &out), 1);
  EXPECT_EQ(Take(api, out), u"text/html");
  EXPECT_EQ(api.cef_string_map_value(map, 3, &out), 0);
  api.cef_string_map_clear(map);
  EXPECT_EQ(api.cef_string_map_size(map), 0);
  api.cef_string_map_free(map);
}

TEST(StandinStringsTest, ListCopiesAreIndependent) {
  ProbeRuntime probe;
  const cef::CefExports& api = probe.Api();
  TCefStringList list = api.cef_string_list_alloc();
  std::u16string item = u"항목";
  TCefString view = View(item);
  api.cef_string_list_append(list, &view);
  TCefStringList copy = api.cef_string_list_copy(list);
  api.cef_string_list_clear(list);
  EXPECT_EQ(api.cef_string_list_size(list), 0);
  ASSERT_EQ(api.cef_string_list_size(copy), 1);
  TCefString out{};
  ASSERT_EQ(api.cef_string_list_value(copy, 0, &out), 1);
  EXPECT_EQ(Take(api, out), u"항목");
  EXPECT_EQ(api.cef_string_list_value(copy, 1, &out), 0);
  api.cef_string_list_free(list);
  api.cef_string_list_free(copy);
}

}  // namespace
