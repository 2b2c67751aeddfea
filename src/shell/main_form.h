#pragma once
// The program's one window: borderless and skinned, a title bar of pictures that moves
// the window and toggles it between its normal size and the work area, and a one-pixel
// frame painted on its edges; below, the browser showing the service, the saving of its
// downloads with their strip under the browser, and the page commands with their find
// strip above it.

#include <memory>

#include "cef/cefvcl/chromium.h"
#include "shell/download_strip.h"
#include "shell/find_strip.h"
#include "shell/page_commands.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/panel.h"
#include "ui/save_dialog.h"

namespace shell {

inline constexpr char16_t kMainFormResource[] = u"MAINFORM";

class TMainForm : public ui::TForm {
 public:
  explicit TMainForm(ui::TComponent* owner);
  std::u16string ClassName() const override { return u"TMainForm"; }

  ui::TPanel* Panel1 = nullptr;
  ui::TImage* TitleBarImage = nullptr;
  ui::TImage* TitleImage = nullptr;
  ui::TImage* BtnMin = nullptr;
  ui::TImage* BtnMax = nullptr;
  ui::TImage* BtnClose = nullptr;
  ui::TImage* Image2 = nullptr;
  ui::TImage* ToolBarImage = nullptr;
  ui::TImage* LogoImage = nullptr;
  ui::TPanel* Panel2 = nullptr;
  cef::TChromium* chrome = nullptr;
  ui::TSaveDialog* SaveDialog = nullptr;
  TFindStrip* FindStrip = nullptr;
  TDownloadStrip* DownloadStrip = nullptr;

  void FormCreate(ui::TObject* Sender);
  void FormPaint(ui::TObject* Sender);
  void FormResize(ui::TObject* Sender);
  void TitleBarImageMouseDown(ui::TObject* Sender, ui::MouseButton Button, ui::ShiftState Shift, int X, int Y);
  void TitleBarImageDblClick(ui::TObject* Sender);
  void BtnMaxClick(ui::TObject* Sender);
  void BtnMinClick(ui::TObject* Sender);
  void BtnCloseClick(ui::TObject* Sender);
  void Image2Click(ui::TObject* Sender);
  void chromeGetDownloadHandler(ui::TObject* Sender, const cef::Ref<cef::ICefBrowser>& browser,
                                const std::u16string& mimeType, const std::u16string& fileName,
                                int64_t contentLength, cef::Ref<cef::ICefDownloadHandler>& handler, bool& Result);

 protected:
  void CreateParams(WindowParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ToggleMaximized();
  // A close by the user while downloads run asks first, naming how many; false: the user
  // keeps the program, or the question is open already.
  bool ConfirmClose();

  std::unique_ptr<TPageCommands> pageCommands_;
  bool askingToClose_ = false;  // the close question is open
};

}  // namespace shell
