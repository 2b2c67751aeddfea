#include "ui/geometry.h"

#include <algorithm>

namespace ui {
namespace {

// One axis of the anchoring: position and extent from the origin's.
void Anchor(bool nearEdge, bool farEdge, int origin, int extent, int parentOrigin, int parentNow, int& pos,
            int& size) {
  size = extent;
  if (nearEdge && farEdge) {
    pos = origin;
    size = std::max(0, extent + parentNow - parentOrigin);
  } else if (farEdge) {
    pos = origin + parentNow - parentOrigin;
  } else if (!nearEdge && parentOrigin > 0) {
    // Keep the centre at the same fraction of the parent's extent.
    long long centre2 = 2LL * origin + extent;
    pos = static_cast<int>((centre2 * parentNow / parentOrigin - extent) / 2);
  } else {
    pos = origin;
  }
}

}  // namespace

Rect AnchoredBounds(const AnchorOrigin& origin, const Anchors& anchors, int parentWidth, int parentHeight) {
  Rect r;
  Anchor(anchors.left, anchors.right, origin.bounds.left, origin.bounds.width, origin.parentWidth, parentWidth,
         r.left, r.width);
  Anchor(anchors.top, anchors.bottom, origin.bounds.top, origin.bounds.height, origin.parentHeight, parentHeight,
         r.top, r.height);
  return r;
}

void AlignChildren(std::vector<AlignItem>& items, int clientWidth, int clientHeight, const Margins& padding) {
  int left = padding.left;
  int top = padding.top;
  int right = std::max(left, clientWidth - padding.right);
  int bottom = std::max(top, clientHeight - padding.bottom);
  // A band keeps its own extent across the alignment axis: an area too small for it (a
  // minimised window's) must not shrink it for good, so only its place and the other
  // dimension come from the area.
  auto place = [&](Align which) {
    for (AlignItem& item : items) {
      if (item.align != which || !item.visible) continue;
      Rect& b = item.bounds;
      int across = std::max(0, right - left);
      int down = std::max(0, bottom - top);
      switch (which) {
        case Align::Top:
          b = {left, top, across, b.height};
          top += b.height;
          break;
        case Align::Bottom:
          b = {left, bottom - b.height, across, b.height};
          bottom -= b.height;
          break;
        case Align::Left:
          b = {left, top, b.width, down};
          left += b.width;
          break;
        case Align::Right:
          b = {right - b.width, top, b.width, down};
          right -= b.width;
          break;
        case Align::Client:
          b = {left, top, across, down};
          break;
        case Align::None:
          break;
      }
    }
  };
  place(Align::Top);
  place(Align::Bottom);
  place(Align::Left);
  place(Align::Right);
  place(Align::Client);
}

}  // namespace ui
