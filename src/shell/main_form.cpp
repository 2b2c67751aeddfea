#include "shell/main_form.h"

#include "platform/process.h"
#include "platform/text.h"
#include "shell/config.h"
#include "shell/download_handler.h"
#include "shell/trace.h"
#include "shell/untrusted.h"
#include "shell/web_mark.h"
#include "ui/system.h"

namespace shell {

namespace {
constexpr ui::TColor kFrameColor = 5263440;  // RGB(80, 80, 80)
// Nothing is deleted: the unfinished files stay where they are, and the question says so.
std::u16string CloseQuestion(size_t unfinished) {
  return u"다운로드 " + platform::IntToText(static_cast<long long>(unfinished)) +
         u"개가 아직 끝나지 않았습니다. 지금 종료하면 받던 파일은 완성되지 않은 채로 남습니다. 종료하시겠습니까?";
}
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
  PublishMethod(u"chromeGetDownloadHandler",
                cef::TOnGetDownloadHandler(std::bind(&TMainForm::chromeGetDownloadHandler, this, _1, _2, _3, _4, _5,
                                                     _6, _7)));
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
    chrome = Require<cef::TChromium>(u"chrome");
    SaveDialog = Require<ui::TSaveDialog>(u"SaveDialog");
  });
  // Replacing a file is the user's choice, asked by the dialog itself.
  SaveDialog->overwritePrompt = true;
  // The find strip takes the top of the browser's panel while it shows, the download strip
  // the bottom; the browser keeps the rest.
  FindStrip = CreateOwned<TFindStrip>(*chrome);
  FindStrip->SetParent(Panel2);
  DownloadStrip = CreateOwned<TDownloadStrip>();
  DownloadStrip->SetAlign(ui::Align::Bottom);
  DownloadStrip->SetParent(Panel2);
  pageCommands_ = std::make_unique<TPageCommands>(*this, *chrome, *FindStrip);
}

void TMainForm::CreateParams(WindowParams& params) {
  TForm::CreateParams(params);
  params.classStyle |= CS_DROPSHADOW;
}

void TMainForm::FormCreate(ui::TObject*) {
  Trace("main window created");
  // Two arguments sign the user in; they go into the address exactly as given.
  std::vector<std::u16string> args = platform::CommandLineArguments();
  if (args.size() < 2 || args[0].empty() || args[1].empty()) return;
  // Without a browser (the runtime made none) there is nothing to sign in with.
  if (!chrome->Browser()) return;
  if (cef::Ref<cef::ICefFrame> frame = chrome->Browser()->GetMainFrame())
    frame->LoadUrl(std::u16string(ServiceScheme) + u"://" + ServiceHost + u"/auth/auto/" + args[0] + u"/" + args[1]);
}

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

void TMainForm::BtnCloseClick(ui::TObject*) {
  if (ConfirmClose()) Close();
}

LRESULT TMainForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Alt+F4 and the taskbar's close arrive here; Windows ending the session does not.
  if (message == WM_CLOSE && !ConfirmClose()) return 0;
  return TForm::WndProc(message, wParam, lParam);
}

bool TMainForm::ConfirmClose() {
  // The runtime keeps working while the question is open; a second close meanwhile (the
  // taskbar's, Alt+F4 again) is the same request, already asked.
  if (askingToClose_) return false;
  size_t unfinished = DownloadStrip->Running();
  if (unfinished == 0) return true;
  askingToClose_ = true;
  struct Asked {
    bool& asking;
    ~Asked() { asking = false; }
  } asked{askingToClose_};
  return ui::System().ShowMessageBox(Handle(), CloseQuestion(unfinished), Caption(),
                                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void TMainForm::Image2Click(ui::TObject*) {
  if (chrome->Browser()) chrome->Browser()->Reload();
}

void TMainForm::chromeGetDownloadHandler(ui::TObject*, const cef::Ref<cef::ICefBrowser>& browser, const std::u16string&,
                                         const std::u16string& fileName, int64_t contentLength,
                                         cef::Ref<cef::ICefDownloadHandler>& handler, bool& Result) {
  // A name the dialog refuses would keep it from opening at all.
  SaveDialog->fileName = ValidFileName(fileName);
  // A dialog that fails raises its reason here: the download does not vanish as if cancelled.
  if (SaveDialog->Execute()) {
    // Created at once, emptied if it exists, and locked against other programs until the
    // runtime lets go of the handler. A file that cannot be created raises the error here,
    // before any handler exists.
    auto stream = std::make_unique<platform::TFileStream>(SaveDialog->fileName, platform::fmCreate);
    // Marked at once, so that a download that ends short or is left unfinished is marked too.
    // The download event carries no address of its own: the page's stands for it.
    cef::Ref<cef::ICefFrame> frame = browser ? browser->GetMainFrame() : nullptr;
    std::u16string source = DownloadSource(frame ? frame->GetUrl() : std::u16string());
    MarkDownload(SaveDialog->fileName, source);
    int id = DownloadStrip->Add(SaveDialog->fileName, contentLength, source);
    handler = base::MakeRef<TCefStreamDownloadHandler>(std::move(stream),
                                                       DownloadWatch{DownloadStrip->Observer(), id, contentLength});
  }
  Result = true;
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
