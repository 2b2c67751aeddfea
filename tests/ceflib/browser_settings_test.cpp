#include "cef/ceflib/browser_settings.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <set>
#include <string>

#include "cef/ceflib/strings.h"

namespace {

using namespace cef;

// Where the record keeps option n: the drag switch, then two unbroken runs.
size_t OptionOffset(int n) {
  if (n == coDragDropDisabled) return offsetof(TCefBrowserSettings, drag_drop_disabled);
  if (n <= coUserStyleSheetEnabled)
    return offsetof(TCefBrowserSettings, encoding_detector_enabled) + static_cast<size_t>(n - coEncodingDetectorEnabled);
  return offsetof(TCefBrowserSettings, author_and_user_styles_disabled) +
         static_cast<size_t>(n - coAuthorAndUserStylesDisabled);
}

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(TCefBrowserSettings, encoding_detector_enabled) == 112);
static_assert(offsetof(TCefBrowserSettings, author_and_user_styles_disabled) == 148);
#endif

// The bytes that belong to the size, a string, an integer or remote fonts: everything
// else is an option switch or padding.
std::set<size_t> ValueBytes() {
  std::set<size_t> bytes;
  auto add = [&](size_t offset, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes.insert(offset + i);
  };
  add(offsetof(TCefBrowserSettings, size), sizeof(uint32_t));
  for (size_t offset : {offsetof(TCefBrowserSettings, standard_font_family), offsetof(TCefBrowserSettings, fixed_font_family),
                        offsetof(TCefBrowserSettings, serif_font_family), offsetof(TCefBrowserSettings, sans_serif_font_family),
                        offsetof(TCefBrowserSettings, cursive_font_family), offsetof(TCefBrowserSettings, fantasy_font_family),
                        offsetof(TCefBrowserSettings, default_encoding),
                        offsetof(TCefBrowserSettings, user_style_sheet_location)})
    add(offset, sizeof(TCefString));
  add(offsetof(TCefBrowserSettings, default_font_size), 4 * sizeof(int32_t));
  add(offsetof(TCefBrowserSettings, remote_fonts_disabled), 1);
  return bytes;
}

struct Filled {
  TCefBrowserSettings record;
  const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(&record); }
};

Filled Fill(TChromiumOptions options, const TChromiumFontOptions& fonts, const std::u16string& encoding,
            const std::u16string& styleSheet) {
  Filled filled;
  std::memset(&filled.record, 0, sizeof filled.record);
  filled.record.size = sizeof(TCefBrowserSettings);
  CefFillBrowserSettings(filled.record, options, fonts, encoding, styleSheet);
  return filled;
}

void ExpectOptionBytes(const Filled& filled, TChromiumOptions options) {
  std::set<size_t> values = ValueBytes();
  std::set<size_t> optionBytes;
  for (int n = 0; n < kChromiumOptionCount; ++n) {
    optionBytes.insert(OptionOffset(n));
    EXPECT_EQ(filled.bytes()[OptionOffset(n)], options.Contains(static_cast<TChromiumOption>(n)) ? 1 : 0)
        << "option " << n;
  }
  for (size_t i = 0; i < sizeof(TCefBrowserSettings); ++i) {
    if (values.count(i) || optionBytes.count(i)) continue;
    EXPECT_EQ(filled.bytes()[i], 0) << "padding byte " << i;
  }
}

// The main window's setting (developer tools disabled) among them.
TEST(BrowserSettingsTest, EachOptionAloneSetsItsOwnByteAndNoOther) {
  const std::u16string empty;
  TChromiumFontOptions fonts;
  for (int n = 0; n < kChromiumOptionCount; ++n) {
    SCOPED_TRACE("option " + std::to_string(n));
    TChromiumOptions alone{static_cast<TChromiumOption>(n)};
    Filled filled = Fill(alone, fonts, empty, empty);
    ExpectOptionBytes(filled, alone);
    EXPECT_EQ(filled.record.size, sizeof(TCefBrowserSettings)) << "the fill leaves the size alone";
  }
}

TEST(BrowserSettingsTest, EveryOptionSetsEverySwitchAndNoPadding) {
  const std::u16string empty;
  TChromiumFontOptions fonts;
  Filled filled = Fill(TChromiumOptions::All(), fonts, empty, empty);
  ExpectOptionBytes(filled, TChromiumOptions::All());
  EXPECT_EQ(filled.record.drag_drop_disabled, 1);
  EXPECT_EQ(filled.record.user_style_sheet_enabled, 1);
  EXPECT_EQ(filled.record.remote_fonts_disabled, 0);
}

TEST(BrowserSettingsTest, OptionNLivesInBitN) {
  TChromiumOptions options{coDragDropDisabled, coJavascriptDisabled, coDeveloperToolsDisabled};
  EXPECT_EQ(options.Bits(), (1u << 0) | (1u << 2) | (1u << 30));
  EXPECT_EQ(TChromiumOptions::All().Bits(), 0x7FFFFFFFu);
  options.Exclude(coJavascriptDisabled);
  EXPECT_FALSE(options.Contains(coJavascriptDisabled));
  EXPECT_TRUE(TChromiumOptions().Empty());
  EXPECT_EQ(TChromiumOptions::FromBits(0xFFFFFFFFu), TChromiumOptions::All());
}

TEST(BrowserSettingsTest, EmptyStringsAreEmptyTextsNeverNullAndAFreshFontOptionsIsAllZero) {
  const std::u16string empty;
  TChromiumFontOptions fonts;
  Filled filled = Fill({}, fonts, empty, empty);
  const TCefBrowserSettings& r = filled.record;
  for (const TCefString* s : {&r.standard_font_family, &r.fixed_font_family, &r.serif_font_family,
                              &r.sans_serif_font_family, &r.cursive_font_family, &r.fantasy_font_family,
                              &r.default_encoding, &r.user_style_sheet_location}) {
    ASSERT_NE(s->str, nullptr);
    EXPECT_EQ(s->str[0], u'\0');
    EXPECT_EQ(s->length, 0u);
    EXPECT_EQ(s->dtor, nullptr);
  }
  EXPECT_EQ(r.default_font_size, 0);
  EXPECT_EQ(r.default_fixed_font_size, 0);
  EXPECT_EQ(r.minimum_font_size, 0);
  EXPECT_EQ(r.minimum_logical_font_size, 0);
  EXPECT_EQ(r.remote_fonts_disabled, 0);
  ExpectOptionBytes(filled, {});
}

TEST(BrowserSettingsTest, FontOptionsAndTextsAreBorrowedIntoTheirFields) {
  TChromiumFontOptions fonts;
  fonts.SetFixedFontFamily(u"D2Coding");
  fonts.SetSerifFontFamily(u"바탕");
  fonts.SetSansSerifFontFamily(u"맑은 고딕");
  fonts.SetCursiveFontFamily(u"Cursive");
  fonts.SetFantasyFontFamily(u"Fantasy");
  fonts.SetDefaultFontSize(16);
  fonts.SetDefaultFixedFontSize(13);
  fonts.SetMinimumFontSize(9);
  fonts.SetMinimumLogicalFontSize(6);
  fonts.SetRemoteFontsDisabled(true);
  const std::u16string encoding = u"EUC-KR", styleSheet = u"file:///C:/style.css";
  Filled filled = Fill({}, fonts, encoding, styleSheet);
  const TCefBrowserSettings& r = filled.record;
  EXPECT_EQ(r.fixed_font_family.str, fonts.FixedFontFamily().data()) << "borrowed, not copied";
  EXPECT_EQ(CefStringRead(&r.serif_font_family), u"바탕");
  EXPECT_EQ(CefStringRead(&r.sans_serif_font_family), u"맑은 고딕");
  EXPECT_EQ(CefStringRead(&r.cursive_font_family), u"Cursive");
  EXPECT_EQ(CefStringRead(&r.fantasy_font_family), u"Fantasy");
  EXPECT_EQ(CefStringRead(&r.standard_font_family), u"");
  EXPECT_EQ(r.default_encoding.str, encoding.data());
  EXPECT_EQ(CefStringRead(&r.user_style_sheet_location), styleSheet);
  EXPECT_EQ(r.default_font_size, 16);
  EXPECT_EQ(r.default_fixed_font_size, 13);
  EXPECT_EQ(r.minimum_font_size, 9);
  EXPECT_EQ(r.minimum_logical_font_size, 6);
  EXPECT_EQ(r.remote_fonts_disabled, 1);
}

}  // namespace
