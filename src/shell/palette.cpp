#include "shell/palette.h"

#include "ui/gdi.h"

namespace shell::palette {

HFONT ControlFont() {
  // Asked for with the Hangul character set, so that a system without this face still gives
  // one that has the Korean letters the controls show and the person types. Made once and
  // kept until the program ends: the strips repaint up to ten times a second.
  static const ui::UniqueFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                               DEFAULT_PITCH, L"Malgun Gothic"));
  return font.get();
}

}  // namespace shell::palette
