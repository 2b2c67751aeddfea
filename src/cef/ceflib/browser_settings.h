#pragma once
// The settings every new browser receives: an option set, font options and two texts,
// copied into the runtime's browser settings record when a browser is about to be made.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "cef/ceflib/capi.h"

namespace cef {

enum TChromiumOption : int32_t {
  coDragDropDisabled,
  coEncodingDetectorEnabled,
  coJavascriptDisabled,
  coJavascriptOpenWindowsDisallowed,
  coJavascriptCloseWindowsDisallowed,
  coJavascriptAccessClipboardDisallowed,
  coDomPasteDisabled,
  coCaretBrowsingEnabled,
  coJavaDisabled,
  coPluginsDisabled,
  coUniversalAccessFromFileUrlsAllowed,
  coFileAccessFromFileUrlsAllowed,
  coWebSecurityDisabled,
  coXssAuditorEnabled,
  coImageLoadDisabled,
  coShrinkStandaloneImagesToFit,
  coSiteSpecificQuirksDisabled,
  coTextAreaResizeDisabled,
  coPageCacheDisabled,
  coTabToLinksDisabled,
  coHyperlinkAuditingDisabled,
  coUserStyleSheetEnabled,
  coAuthorAndUserStylesDisabled,
  coLocalStorageDisabled,
  coDatabasesDisabled,
  coApplicationCacheDisabled,
  coWebglDisabled,
  coAcceleratedCompositingEnabled,
  coAcceleratedLayersDisabled,
  coAccelerated2dCanvasDisabled,
  coDeveloperToolsDisabled,
};
inline constexpr int32_t kChromiumOptionCount = coDeveloperToolsDisabled + 1;

// A set of options in 32 bits, option n in bit n.
class TChromiumOptions {
 public:
  constexpr TChromiumOptions() noexcept = default;
  constexpr TChromiumOptions(std::initializer_list<TChromiumOption> options) noexcept {
    for (TChromiumOption option : options) Include(option);
  }
  static constexpr TChromiumOptions FromBits(uint32_t bits) noexcept {
    TChromiumOptions set;
    set.bits_ = bits & kAll;
    return set;
  }
  static constexpr TChromiumOptions All() noexcept { return FromBits(kAll); }

  constexpr bool Contains(TChromiumOption option) const noexcept { return (bits_ & Bit(option)) != 0; }
  constexpr void Include(TChromiumOption option) noexcept { bits_ |= Bit(option); }
  constexpr void Exclude(TChromiumOption option) noexcept { bits_ &= ~Bit(option); }
  constexpr bool Empty() const noexcept { return bits_ == 0; }
  constexpr uint32_t Bits() const noexcept { return bits_; }
  friend constexpr bool operator==(TChromiumOptions, TChromiumOptions) = default;

 private:
  static constexpr uint32_t kAll = (1u << kChromiumOptionCount) - 1;
  static constexpr uint32_t Bit(TChromiumOption option) noexcept { return 1u << static_cast<uint32_t>(option); }
  uint32_t bits_ = 0;
};
static_assert(sizeof(TChromiumOptions) == 4);

// Font settings of the browsers: every text empty, every size 0 and remote fonts allowed
// until set. The standard font family has no writer, so it stays empty.
class TChromiumFontOptions {
 public:
  TChromiumFontOptions() = default;

  const std::u16string& StandardFontFamily() const noexcept { return FStandardFontFamily; }
  const std::u16string& FixedFontFamily() const noexcept { return FFixedFontFamily; }
  void SetFixedFontFamily(std::u16string value) { FFixedFontFamily = std::move(value); }
  const std::u16string& SerifFontFamily() const noexcept { return FSerifFontFamily; }
  void SetSerifFontFamily(std::u16string value) { FSerifFontFamily = std::move(value); }
  const std::u16string& SansSerifFontFamily() const noexcept { return FSansSerifFontFamily; }
  void SetSansSerifFontFamily(std::u16string value) { FSansSerifFontFamily = std::move(value); }
  const std::u16string& CursiveFontFamily() const noexcept { return FCursiveFontFamily; }
  void SetCursiveFontFamily(std::u16string value) { FCursiveFontFamily = std::move(value); }
  const std::u16string& FantasyFontFamily() const noexcept { return FFantasyFontFamily; }
  void SetFantasyFontFamily(std::u16string value) { FFantasyFontFamily = std::move(value); }
  int32_t DefaultFontSize() const noexcept { return FDefaultFontSize; }
  void SetDefaultFontSize(int32_t value) noexcept { FDefaultFontSize = value; }
  int32_t DefaultFixedFontSize() const noexcept { return FDefaultFixedFontSize; }
  void SetDefaultFixedFontSize(int32_t value) noexcept { FDefaultFixedFontSize = value; }
  int32_t MinimumFontSize() const noexcept { return FMinimumFontSize; }
  void SetMinimumFontSize(int32_t value) noexcept { FMinimumFontSize = value; }
  int32_t MinimumLogicalFontSize() const noexcept { return FMinimumLogicalFontSize; }
  void SetMinimumLogicalFontSize(int32_t value) noexcept { FMinimumLogicalFontSize = value; }
  bool RemoteFontsDisabled() const noexcept { return FRemoteFontsDisabled; }
  void SetRemoteFontsDisabled(bool value) noexcept { FRemoteFontsDisabled = value; }

 private:
  std::u16string FStandardFontFamily;
  std::u16string FCursiveFontFamily;
  std::u16string FSansSerifFontFamily;
  int32_t FMinimumLogicalFontSize = 0;
  std::u16string FFantasyFontFamily;
  std::u16string FSerifFontFamily;
  int32_t FDefaultFixedFontSize = 0;
  int32_t FDefaultFontSize = 0;
  bool FRemoteFontsDisabled = false;
  std::u16string FFixedFontFamily;
  int32_t FMinimumFontSize = 0;
};

// Writes every field of the record except its size from the four sources. The strings
// are borrowed, not copied: the record is valid only while the sources stay unchanged,
// which is the duration of a browser's creation or of a pop-up callback. Bytes that are
// no field are left as they were.
void CefFillBrowserSettings(TCefBrowserSettings& settings, TChromiumOptions options,
                            const TChromiumFontOptions& fontOptions, const std::u16string& defaultEncoding,
                            const std::u16string& userStyleSheetLocation);

}  // namespace cef
