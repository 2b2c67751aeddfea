#include "ui/control.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/text.h"
#include "ui/application.h"
#include "ui/form_reader.h"
#include "ui/gdi.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000) == 0xFF000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    UpdateAnchorOrigin();
    // A windowed control placed into a parent that has its window gets one at once.
    if (IsWindowed() && parent_->HandleAllocated()) static_cast<TWinControl*>(this)->Handle();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Rect bounds{left, top, std::max(0, width), std::max(0, height)};
  bool moved = !(bounds == bounds_);
  PlaceAt(bounds);
  UpdateAnchorOrigin();
  if (moved && parent_ && align_ != Align::None) parent_->Realign();
}

void TControl::PlaceAt(const Rect& bounds) {
  if (bounds == bounds_) return;
  // A graphic control is repainted where it was and where it goes.
  if (!IsWindowed()) Invalidate();
  bounds_ = bounds;
  if (!IsWindowed()) Invalidate();
  BoundsChanged();
}

void TControl::UpdateAnchorOrigin() {
  if (!parent_) return;
  anchorOrigin_ = {bounds_, parent_->ClientWidth(), parent_->ClientHeight()};
}

void TControl::SetAlign(Align align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(const Anchors& anchors) {
  anchors_ = anchors;
  UpdateAnchorOrigin();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  // A windowed control's window shows or hides itself; a graphic one is drawn by its parent.
  if (!IsWindowed()) Invalidate();
  if (parent_) parent_->Realign();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

void TControl::Invalidate() {
  if (IsWindowed()) {
    auto* self = static_cast<TWinControl*>(this);
    if (self->HandleAllocated()) InvalidateRect(self->Handle(), nullptr, FALSE);
  } else if (parent_ && parent_->HandleAllocated()) {
    RECT r{bounds_.left, bounds_.top, bounds_.right(), bounds_.bottom()};
    InvalidateRect(parent_->Handle(), &r, FALSE);
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TControl::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  const std::u16string& n = p.name;
  if (n == u"Left") SetBounds(static_cast<int>(reader.Integer(p)), Top(), Width(), Height());
  else if (n == u"Top") SetBounds(Left(), static_cast<int>(reader.Integer(p)), Width(), Height());
  else if (n == u"Width") SetBounds(Left(), Top(), static_cast<int>(reader.Integer(p)), Height());
  else if (n == u"Height") SetBounds(Left(), Top(), Width(), static_cast<int>(reader.Integer(p)));
  else if (n == u"Align") SetAlign(reader.AlignValue(p));
  else if (n == u"Anchors") SetAnchors(reader.AnchorsValue(p));
  else if (n == u"Visible") SetVisible(reader.Boolean(p));
  else if (n == u"Color") SetColor(reader.Color(p));
  else if (n == u"Cursor") SetCursor(reader.CursorValue(p));
  else if (n == u"OnClick") OnClick = reader.NotifyMethod(p);
  else if (n == u"OnDblClick") OnDblClick = reader.NotifyMethod(p);
  else if (n == u"OnMouseDown") OnMouseDown = reader.MouseMethod(p);
  else if (n == u"OnMouseUp") OnMouseUp = reader.MouseMethod(p);
  else return false;
  return true;
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  for (TControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  DestroyHandle();
}

void TWinControl::InsertControl(TControl* control) { controls_.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
  if (lastPressed_ == control) lastPressed_.reset();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (!control->IsWindowed()) Invalidate();
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateHandle() {
  HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
  if (handle_) return;  // made while the parent's window was made
  WindowParams params;
  params.parent = parentWindow;
  CreateParams(params);
  CreateWindowHandle(params);
  if (!handle_) platform::RaiseLastOSError();
  // The windowed children get their windows with their parent's, in tab order.
  std::vector<TWinControl*> children;
  for (TControl* c : controls_)
    if (c->IsWindowed()) children.push_back(static_cast<TWinControl*>(c));
  std::stable_sort(children.begin(), children.end(),
                   [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* child : children) child->Handle();
}

void TWinControl::CreateParams(WindowParams& params) {
  params.className = u"TWinControl";
  params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) |
                 (tabStop_ ? WS_TABSTOP : 0);
  params.x = Left();
  params.y = Top();
  params.width = Width();
  params.height = Height();
}

void TWinControl::CreateWindowHandle(const WindowParams& params) {
  std::u16string className = params.className + u"." + platform::IntToText(params.classStyle);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(ModuleInstance(), platform::AsWide(className), &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = params.classStyle;
    wc.lpfnWndProc = &StaticWndProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = params.icon;
    wc.hIconSm = params.smallIcon;
    wc.lpszClassName = platform::AsWide(className);
    if (!RegisterClassExW(&wc)) platform::RaiseLastOSError();
  }
  CreateWindowExW(params.exStyle, platform::AsWide(className), platform::AsWide(params.caption), params.style,
                  params.x, params.y, params.width, params.height, params.parent, nullptr, ModuleInstance(), this);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND window = handle_;
  DestroyWindow(window);  // WM_NCDESTROY clears handle_
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  Handle();
}

void TWinControl::SetPadding(const Margins& padding) {
  padding_ = padding;
  Realign();
}

void TWinControl::SetVisible(bool visible) {
  TControl::SetVisible(visible);
  if (handle_) ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

TControl* TWinControl::GraphicControlAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    const Rect& b = c->Bounds();
    if (!c->IsWindowed() && c->Visible() && x >= b.left && x < b.right() && y >= b.top && y < b.bottom()) return c;
  }
  return nullptr;
}

void TWinControl::Realign() {
  if (realigning_) return;
  realigning_ = true;
  std::vector<AlignItem> items;
  for (TControl* c : controls_) items.push_back({c->GetAlign(), c->Bounds(), c->Visible()});
  AlignChildren(items, ClientWidth(), ClientHeight(), padding_);
  for (size_t i = 0; i < controls_.size(); ++i) {
    TControl* c = controls_[i];
    if (c->GetAlign() != Align::None) {
      c->PlaceAt(items[i].bounds);
    } else if (c->GetAnchorOrigin().parentWidth > 0) {
      c->PlaceAt(AnchoredBounds(c->GetAnchorOrigin(), c->GetAnchors(), ClientWidth(), ClientHeight()));
    }
  }
  realigning_ = false;
}

void TWinControl::BoundsChanged() {
  if (handle_) {
    SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Realign();
  Resized();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

bool TWinControl::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  const std::u16string& n = p.name;
  Margins m = padding_;
  if (n == u"Padding.Left") m.left = static_cast<int>(reader.Integer(p));
  else if (n == u"Padding.Top") m.top = static_cast<int>(reader.Integer(p));
  else if (n == u"Padding.Right") m.right = static_cast<int>(reader.Integer(p));
  else if (n == u"Padding.Bottom") m.bottom = static_cast<int>(reader.Integer(p));
  else if (n == u"TabOrder") {
    SetTabOrder(static_cast<int>(reader.Integer(p)));
    return true;
  } else if (n == u"TabStop") {
    SetTabStop(reader.Boolean(p));
    return true;
  } else {
    return TControl::ReadProperty(p, reader);
  }
  SetPadding(m);
  return true;
}

void TWinControl::PaintWindow(HDC dc) {
  RECT client{0, 0, Width(), Height()};
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(dc, &client, brush.get());
  for (TControl* c : controls_)
    if (!c->IsWindowed() && c->Visible()) c->Paint(dc);
}

namespace {

ShiftState ShiftFrom(WORD keys) {
  ShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

enum class Press { Down, Double, Up };

bool MouseMessage(UINT message, WPARAM wParam, MouseButton& button, Press& kind) {
  switch (message) {
    case WM_LBUTTONDOWN: button = MouseButton::Left; kind = Press::Down; return true;
    case WM_RBUTTONDOWN: button = MouseButton::Right; kind = Press::Down; return true;
    case WM_MBUTTONDOWN: button = MouseButton::Middle; kind = Press::Down; return true;
    case WM_LBUTTONDBLCLK: button = MouseButton::Left; kind = Press::Double; return true;
    case WM_RBUTTONDBLCLK: button = MouseButton::Right; kind = Press::Double; return true;
    case WM_MBUTTONDBLCLK: button = MouseButton::Middle; kind = Press::Double; return true;
    case WM_LBUTTONUP: button = MouseButton::Left; kind = Press::Up; return true;
    case WM_RBUTTONUP: button = MouseButton::Right; kind = Press::Up; return true;
    case WM_MBUTTONUP: button = MouseButton::Middle; kind = Press::Up; return true;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_XBUTTONUP:
      button = GET_XBUTTON_WPARAM(wParam) == XBUTTON2 ? MouseButton::X2 : MouseButton::X1;
      kind = message == WM_XBUTTONDOWN ? Press::Down : message == WM_XBUTTONUP ? Press::Up : Press::Double;
      return true;
    default: return false;
  }
}

}  // namespace

LRESULT TWinControl::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  MouseButton button;
  Press kind;
  handled = false;
  if (!MouseMessage(message, wParam, button, kind)) return 0;
  // The extra buttons' messages are answered TRUE when handled, the others 0.
  LRESULT done = message == WM_XBUTTONDOWN || message == WM_XBUTTONUP || message == WM_XBUTTONDBLCLK ? TRUE : 0;
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  ShiftState shift = ShiftFrom(GET_KEYSTATE_WPARAM(wParam));
  ShiftState doubled = kind == Press::Double ? ShiftState{ssDouble} : ShiftState{0};
  if (kind == Press::Up) {
    TControl* target = mouseControl_ ? mouseControl_ : GraphicControlAt(x, y);
    bool captured = target && target == mouseControl_;
    bool clicked = std::exchange(clickPending_, false);
    mouseControl_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
    if (!target) {
      MouseUp(button, shift, x, y);
      return done;
    }
    const Rect& b = target->Bounds();
    bool inside = x >= b.left && x < b.right() && y >= b.top && y < b.bottom();
    target->MouseUp(button, shift, x - b.left, y - b.top);
    if (button == MouseButton::Left && captured && clicked && inside) target->Click();
    handled = true;
    return done;
  }
  TControl* target = GraphicControlAt(x, y);
  // A double-click is two presses on one control: when the first press moved the control
  // away (a maximise button), the second one is a press of its own on what is there now.
  if (kind == Press::Double && lastPressed_ && *lastPressed_ != target) {
    kind = Press::Down;
    doubled = 0;
  }
  lastPressed_ = target;
  if (!target) {
    if (kind == Press::Double) DblClick();
    MouseDown(button, shift | doubled, x, y);
    return done;
  }
  // The press belongs to the graphic control until the button is released. Only a single
  // left press makes a click: the second press of a double-click raises the double-click.
  mouseControl_ = target;
  clickPending_ = button == MouseButton::Left && kind == Press::Down;
  SetCapture(handle_);
  const Rect& b = target->Bounds();
  if (kind == Press::Double && button == MouseButton::Left) target->DblClick();
  target->MouseDown(button, shift | doubled, x - b.left, y - b.top);
  handled = true;
  return done;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted with everything else, off screen
    case WM_PAINT: {
      PaintScope paint(handle_);
      int w = std::max(1, Width()), h = std::max(1, Height());
      UniqueMemoryDc memory(CreateCompatibleDC(paint.dc()));
      UniqueBitmap bitmap(CreateCompatibleBitmap(paint.dc(), w, h));
      {
        SelectScope selected(memory.get(), bitmap.get());
        PaintWindow(memory.get());
        BitBlt(paint.dc(), 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      // The system moved or sized the window (maximising, restoring): follow it.
      // A minimised window keeps the place and size it will be restored to: its 0 x 0
      // client area must not realign the children.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (IsIconic(handle_)) return DefaultHandler(message, wParam, lParam);
      if (!(pos->flags & SWP_NOSIZE) && (pos->cx != Width() || pos->cy != Height())) {
        RECT r;
        GetClientRect(handle_, &r);
        bounds_.width = r.right;
        bounds_.height = r.bottom;
        Realign();
        Resized();
      }
      if (!(pos->flags & SWP_NOMOVE)) {
        bounds_.left = pos->x;
        bounds_.top = pos->y;
      }
      return DefaultHandler(message, wParam, lParam);
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(handle_, &p);
        TControl* c = GraphicControlAt(p.x, p.y);
        Cursor cursor = c ? c->GetCursor() : GetCursor();
        if (cursor == Cursor::HandPoint) {
          ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
          return TRUE;
        }
      }
      return DefaultHandler(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      mouseControl_ = nullptr;
      clickPending_ = false;
      return DefaultHandler(message, wParam, lParam);
    default: {
      bool handled = false;
      LRESULT result = HandleMouse(message, wParam, lParam, handled);
      if (handled) return result;
      return DefaultHandler(message, wParam, lParam);
    }
  }
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TWinControl* self;
  if (message == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->mouseControl_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // No exception unwinds through the system's window code: it is reported, and the loop goes on.
  try {
    return self->WndProc(message, wParam, lParam);
  } catch (...) {
    Application().HandleException();
    return 0;
  }
}

}  // namespace ui
