#include "shell/main_form.h"

#include "shell/trace.h"

namespace shell {

namespace {
constexpr ui::TColor kFrameColor = 5263440;  // RGB(80, 80, 80)
}

TMainForm::TMainForm(ui::TComponent* owner) : TForm(owner) {
  using namespace std::placeholders;
  PublishMethod(u"FormCreate", ui::TNotifyEvent(std::bind(&TMainForm::FormCreate, this, _1)));
  PublishMethod(u"FormPaint", ui::TNotifyEvent(std::bind(&TMainForm::FormPaint, this, _1)));
  PublishMethod(u"FormResize", ui::TNotifyEvent(std::bind(&TMainForm::FormResize, this, _1)));
  PublishMethod(u"TitleBarImageMouseDown",
                ui::TMouseEvent(std::bind(&TMainForm::TitleBarImageMouseDown, this, _1, _2, _3, _4, _5)));
  PublishMethod(u"TitleBarImageDblClick", ui::TNotifyEvent(std::bind(&TMainForm::TitleBarImageDblClick, this, _1)));
  PublishMethod(u"BtnMaxClick", ui::TNotifyEvent(std::bind(&TMainForm::BtnMaxClick, this, _1)));
  PublishMethod(u"BtnMinClick", ui::TNotifyEvent(std::bind(&TMainForm::BtnMinClick, this, _1)));
  PublishMethod(u"BtnCloseClick", ui::TNotifyEvent(std::bind(&TMainForm::BtnCloseClick, this, _1)));
  PublishMethod(u"Image2Click", ui::TNotifyEvent(std::bind(&TMainForm::Image2Click, this, _1)));
  InitFromResource(kMainFormResource, [this] {
    Panel1 = Require<ui::TPanel>(u"Panel1");
    TitleBarImage = Require<ui::TImage>(u"TitleBarImage");
    TitleImage = Require<ui::TImage>(u"TitleImage");
    BtnMin = Require<ui::TImage>(u"BtnMin");
    BtnMax = Require<ui::TImage>(u"BtnMax");
    BtnClose = Require<ui::TImage>(u"BtnClose");
    Image2 = Require<ui::TImage>(u"Image2");
    ToolBarImage = Require<ui::TImage>(u"ToolBarImage");
    LogoImage = Require<ui::TImage>(u"LogoImage");
    Panel2 = Require<ui::TPanel>(u"Panel2");
    SaveDialog = Require<ui::TSaveDialog>(u"SaveDialog");
  });
}

void TMainForm::CreateParams(WindowParams& params) {
  TForm::CreateParams(params);
  params.classStyle |= CS_DROPSHADOW;
}

void TMainForm::FormCreate(ui::TObject*) { Trace("main window created"); }

void TMainForm::FormPaint(ui::TObject*) {
  // The panels cover all but the one-pixel margins on the left, right and bottom, which is
  // exactly where the outline of the client rectangle lies.
  ui::TCanvas* canvas = Canvas();
  canvas->penColor = kFrameColor;
  canvas->RoundRect(0, 0, ClientWidth(), ClientHeight(), 0, 0);
}

void TMainForm::FormResize(ui::TObject*) { Repaint(); }

void TMainForm::TitleBarImageMouseDown(ui::TObject*, ui::MouseButton, ui::ShiftState, int, int) {
  // Hand the press to the system as one on a caption: it moves the window.
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TMainForm::TitleBarImageDblClick(ui::TObject*) { ToggleMaximized(); }

void TMainForm::BtnMaxClick(ui::TObject*) { ToggleMaximized(); }

void TMainForm::BtnMinClick(ui::TObject*) { SetWindowState(ui::WindowState::Minimized); }

void TMainForm::BtnCloseClick(ui::TObject*) { Close(); }

void TMainForm::Image2Click(ui::TObject*) {
  // Reloads the page once the window hosts the browser.
}

void TMainForm::ToggleMaximized() {
  if (GetWindowState() != ui::WindowState::Normal) {
    // The system puts the window back where it was before it was maximised.
    SetWindowState(ui::WindowState::Normal);
    return;
  }
  SetWindowState(ui::WindowState::Maximized);
  // The work area, not the whole screen: the taskbar stays visible.
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

}  // namespace shell
