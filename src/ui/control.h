#pragma once
// Controls: visual components with a place in a parent. Windowed controls own a window
// handle, made when first needed and made again on demand; graphic controls are painted
// by their windowed parent and get their mouse input through it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/geometry.h"

namespace ui {

class TWinControl;

// A colour: an RGB value (low byte red), or a system colour (0xFF000000 | COLOR_xxx).
using TColor = uint32_t;
inline constexpr TColor clBtnFace = 0xFF000000 | COLOR_BTNFACE;
inline constexpr TColor clWindow = 0xFF000000 | COLOR_WINDOW;
inline constexpr TColor clWindowText = 0xFF000000 | COLOR_WINDOWTEXT;
COLORREF ColorToRGB(TColor color);

enum class MouseButton { Left, Right, Middle, X1, X2 };

enum ShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using ShiftState = unsigned;

enum class Cursor { Default, HandPoint, Arrow };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, MouseButton button, ShiftState shift, int x, int y)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

  const Rect& Bounds() const { return bounds_; }
  // Moves the control, keeps the new place for its anchors, and realigns its children.
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }

  Align GetAlign() const { return align_; }
  void SetAlign(Align align);
  const Anchors& GetAnchors() const { return anchors_; }
  void SetAnchors(const Anchors& anchors);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor) { cursor_ = cursor; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);

  virtual bool IsWindowed() const { return false; }
  void Invalidate();
  // Graphic controls draw themselves here, in their parent's coordinates.
  virtual void Paint(HDC dc) {}

  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;

 protected:
  // The place that alignment or anchoring gives: the anchors' reference is not changed.
  void PlaceAt(const Rect& bounds);
  // The bounds have changed (windowed controls move their window and realign).
  virtual void BoundsChanged() {}
  // Remember the current place and the parent's size as the anchors' reference.
  void UpdateAnchorOrigin();
  const AnchorOrigin& GetAnchorOrigin() const { return anchorOrigin_; }
  friend class TWinControl;

 private:
  TWinControl* parent_ = nullptr;
  Rect bounds_;
  Align align_ = Align::None;
  Anchors anchors_;
  AnchorOrigin anchorOrigin_;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  Cursor cursor_ = Cursor::Default;
};

class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }
  // The window, made (with its parents' windows) when first asked for.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Destroys the window; the next Handle() makes a new one.
  void DestroyHandle();
  void RecreateWnd();

  const Margins& Padding() const { return padding_; }
  void SetPadding(const Margins& padding);
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop) { tabStop_ = stop; }

  // Children in z-order, back to front.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible graphic child under a point of the client area, or null.
  TControl* GraphicControlAt(int x, int y) const;
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }

  // Places the aligned children and moves the anchored ones for the current size.
  void Realign();

  void SetVisible(bool visible) override;
  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;
  void Loaded() override;

 protected:
  struct WindowParams {
    std::u16string className;
    std::u16string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    UINT classStyle = CS_DBLCLKS;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
  };
  virtual void CreateParams(WindowParams& params);
  // Makes the window from the parameters; controls that must act once their window
  // exists override it and call the inherited one first.
  virtual void CreateWindowHandle(const WindowParams& params);
  // Messages of this control's window; what is not handled goes to DefaultHandler.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
  // Paints the background and the graphic children.
  virtual void PaintWindow(HDC dc);
  void BoundsChanged() override;
  // The window's client area changed size.
  virtual void Resized() {}

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void CreateHandle();
  LRESULT HandleMouse(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  Margins padding_;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  bool realigning_ = false;
  std::vector<TControl*> controls_;
  TControl* mouseControl_ = nullptr;  // the graphic child that has the mouse captured
  bool clickPending_ = false;         // its press was a single left press: the release clicks
  // Where the last press landed (null: this control itself); empty until the first press.
  std::optional<TControl*> lastPressed_;
};

// The instance handle that window classes and resources belong to.
HINSTANCE ModuleInstance();

}  // namespace ui
