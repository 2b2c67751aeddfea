#pragma once
// The skin's palette, as resources/make-artwork.sh paints the window's pictures: what the
// program draws itself (the find and download strips) uses the same colours by name, and
// one face for its text.

#include <windows.h>

namespace shell::palette {

inline constexpr COLORREF kTitleBackground = RGB(45, 45, 48);
inline constexpr COLORREF kTitleHighlight = RGB(62, 62, 66);
inline constexpr COLORREF kGlyph = RGB(222, 222, 222);
inline constexpr COLORREF kGlyphHalf = RGB(134, 134, 135);
inline constexpr COLORREF kAccent = RGB(0, 150, 214);
inline constexpr COLORREF kAccentLight = RGB(40, 180, 238);
inline constexpr COLORREF kBandBottom = RGB(80, 75, 70);
inline constexpr COLORREF kBandLine = RGB(200, 195, 190);

// The font of the program's own controls: the strips, their notices and the find box.
// Owned here for the program's whole run; callers never delete it.
HFONT ControlFont();

}  // namespace shell::palette
