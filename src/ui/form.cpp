#include "ui/form.h"

#include "platform/text.h"
#include "ui/application.h"
#include "ui/form_reader.h"
#include "ui/gdi.h"
#include "ui/resources.h"

namespace ui {

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
  UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(penColor)));
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(brushColor)));
  SelectScope withPen(dc_, pen.get());
  SelectScope withBrush(dc_, brush.get());
  ::RoundRect(dc_, x1, y1, x2, y2, ellipseWidth, ellipseHeight);
}

TForm::TForm(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TForm::~TForm() {
  DestroyComponents();  // the children go while the form is still whole
  DestroyHandle();
}

void TForm::SetCaption(const std::u16string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(Handle(), platform::AsWide(caption_));
}

WindowState TForm::GetWindowState() const {
  if (!HandleAllocated()) return WindowState::Normal;
  HWND window = const_cast<TForm*>(this)->Handle();
  if (IsIconic(window)) return WindowState::Minimized;
  if (IsZoomed(window)) return WindowState::Maximized;
  return WindowState::Normal;
}

void TForm::SetWindowState(WindowState state) {
  static const int kShow[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  ShowWindow(Handle(), kShow[static_cast<int>(state)]);
}

void TForm::SetIcon(const std::u16string& resourceName) {
  iconName_ = resourceName;
  const wchar_t* name = platform::AsWide(iconName_);
  icon_.reset(static_cast<HICON>(LoadImageW(ModuleInstance(), name, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                            GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(ModuleInstance(), name, IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (!icon_) platform::RaiseLastOSError();
  if (HandleAllocated()) {
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
}

const TForm::Method* TForm::FindMethod(const std::u16string& name) const {
  auto it = methods_.find(name);
  return it == methods_.end() ? nullptr : &it->second;
}

void TForm::InitFromResource(const std::u16string& resourceName, const std::function<void()>& bind) {
  InitFromLayout(ReadLayout(LoadResourceText(resourceName)), bind);
}

void TForm::InitFromLayout(const LayoutObject& layout, const std::function<void()>& bind) {
  FormReader::Read(*this, layout);
  if (bind) bind();
  if (showOnCreate_) Show();
  if (OnCreate) OnCreate(this);
}

bool TForm::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  const std::u16string& n = p.name;
  if (n == u"Caption") SetCaption(reader.String(p));
  else if (n == u"ClientWidth") SetClientSize(static_cast<int>(reader.Integer(p)), Height());
  else if (n == u"ClientHeight") SetClientSize(Width(), static_cast<int>(reader.Integer(p)));
  else if (n == u"Left" || n == u"Top") {
    positioned_ = true;
    return TWinControl::ReadProperty(p, reader);
  } else if (n == u"Visible") showOnCreate_ = reader.Boolean(p);
  else if (n == u"BorderStyle") reader.Expect(p, u"bsNone");
  else if (n == u"Icon") SetIcon(reader.String(p));
  else if (n == u"OnCreate") OnCreate = reader.NotifyMethod(p);
  else if (n == u"OnPaint") OnPaint = reader.NotifyMethod(p);
  else if (n == u"OnResize") OnResize = reader.NotifyMethod(p);
  // The font is kept for what the form might show as text; this form shows none.
  else if (n.rfind(u"Font.", 0) == 0) reader.Accept(p);
  else return TWinControl::ReadProperty(p, reader);
  return true;
}

void TForm::CreateParams(WindowParams& params) {
  TWinControl::CreateParams(params);
  params.className = ClassName();
  params.caption = caption_;
  // Borderless, but with a system menu and the boxes the taskbar button needs to minimise
  // and restore the window.
  params.style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  params.exStyle = Application().mainFormOnTaskBar ? WS_EX_APPWINDOW : 0;
  params.parent = Application().mainFormOnTaskBar ? nullptr : Application().Handle();
  params.icon = icon_.get();
  params.smallIcon = smallIcon_.get();
  if (!positioned_) {
    // The system picks the place, as it does for any new overlapped window.
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, nullptr, nullptr, ModuleInstance(), nullptr);
    RECT r{};
    if (probe) {
      GetWindowRect(probe, &r);
      DestroyWindow(probe);
    }
    params.x = r.left;
    params.y = r.top;
  }
}

void TForm::Show() {
  SetVisible(true);
  HWND window = Handle();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

void TForm::Close() {
  if (Application().MainForm() == this) {
    Application().Terminate();
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::Repaint() {
  if (!HandleAllocated()) return;
  InvalidateRect(Handle(), nullptr, TRUE);
  UpdateWindow(Handle());
}

void TForm::PaintWindow(HDC dc) {
  TWinControl::PaintWindow(dc);
  if (!OnPaint) return;
  TCanvas canvas(dc);
  canvas.brushColor = Color();
  canvas_ = &canvas;
  struct Reset {
    TCanvas*& c;
    ~Reset() { c = nullptr; }
  } reset{canvas_};
  OnPaint(this);
}

void TForm::Resized() {
  if (OnResize) OnResize(this);
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_CREATE:
      if (icon_) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
      }
      return TWinControl::WndProc(message, wParam, lParam);
    default:
      return TWinControl::WndProc(message, wParam, lParam);
  }
}

}  // namespace ui
