#pragma once
// Placement of controls inside their parent: alignment, inner margins and anchors.
// Portable: no window is needed to compute where a control goes.

#include <vector>

namespace ui {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};

enum class Align { None, Top, Bottom, Left, Right, Client };

// Which parent edges a control keeps its distance to. With neither left nor right, the
// control keeps its centre at the same fraction of the parent's width (and likewise for
// top and bottom).
struct Anchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
  friend bool operator==(const Anchors&, const Anchors&) = default;
};

// What a control remembers of its place when its anchors take effect: its bounds and the
// parent's client size at that moment.
struct AnchorOrigin {
  Rect bounds;
  int parentWidth = 0;
  int parentHeight = 0;
};

// The bounds of an anchored, unaligned control after the parent's client area changed size.
Rect AnchoredBounds(const AnchorOrigin& origin, const Anchors& anchors, int parentWidth, int parentHeight);

// One child as the alignment sees it.
struct AlignItem {
  Align align;
  Rect bounds;
  bool visible = true;
};

// Places the aligned children in order inside the client area less the padding: top and
// bottom ones keep their own height and span the full width, left and right ones keep
// their own width and span what remains, and client ones fill the rest. Alignment never
// changes a band's own extent, even when the area is too small for it; unaligned
// children are left as they are.
void AlignChildren(std::vector<AlignItem>& items, int clientWidth, int clientHeight, const Margins& padding);

}  // namespace ui
