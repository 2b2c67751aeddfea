#include "ui/form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/failure.h"
#include "support/fake_system.h"
#include "ui/application.h"
#include "ui/form_reader.h"
#include "ui/image.h"
#include "ui/panel.h"
#include "ui/picture.h"
#include "ui/save_dialog.h"

namespace {

using namespace ui;

const char kLayout[] = R"(
object TestForm: TTestForm
  ClientWidth = 400
  ClientHeight = 300
  Padding.Left = 1
  Padding.Right = 1
  Padding.Bottom = 1
  Visible = True
  OnCreate = Created
  object Band: TPanel
    Left = 1
    Top = 0
    Width = 398
    Height = 60
    Align = alTop
    Color = 3947839
    object Strip: TImage
      Left = 0
      Top = 0
      Width = 398
      Height = 20
      Align = alTop
      OnMouseDown = Pressed
      OnDblClick = Doubled
    end
    object Button: TImage
      Left = 370
      Top = 30
      Width = 12
      Height = 10
      Anchors = [akTop, akRight]
      OnClick = Clicked
      OnMouseDown = Pressed
    end
    object Logo: TImage
      Left = 149
      Top = 25
      Width = 100
      Height = 30
      Anchors = []
      Cursor = crHandPoint
    end
  end
  object Body: TPanel
    Align = alClient
  end
  object Dialog: TSaveDialog
  end
end
)";

class TestForm : public TForm {
 public:
  TestForm(TComponent* owner, const std::string& layout) : TForm(owner) {
    PublishMethod(u"Created", TNotifyEvent([this](TObject*) { events.push_back("created"); }));
    PublishMethod(u"Clicked", TNotifyEvent([this](TObject* s) { events.push_back("click " + NameOf(s)); }));
    PublishMethod(u"Doubled", TNotifyEvent([this](TObject* s) { events.push_back("dblclick " + NameOf(s)); }));
    PublishMethod(u"Pressed", TMouseEvent([this](TObject* s, MouseButton b, ShiftState shift, int x, int y) {
                    events.push_back("down " + NameOf(s) + " " + std::to_string(static_cast<int>(b)) +
                                     ((shift & ssDouble) ? " double" : "") + " at " + std::to_string(x) + "," +
                                     std::to_string(y));
                  }));
    InitFromLayout(ReadLayout(layout), [this] { bound = true; });
  }
  std::u16string ClassName() const override { return u"TTestForm"; }
  static std::string NameOf(TObject* s) {
    std::string name;
    for (char16_t c : s->Name()) name.push_back(static_cast<char>(c));
    return name;
  }
  std::vector<std::string> events;
  bool bound = false;
};

// A press and release of the left button, as posted messages.
void PostClick(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) Application().ProcessTurn(ui::WhenIdle::Return);
}

class FormTest : public ::testing::Test {
 protected:
  TestForm* Make(const std::string& layout = kLayout) {
    form_ = std::make_unique<TestForm>(nullptr, layout);
    return form_.get();
  }
  void TearDown() override {
    form_.reset();
    Drain();
  }
  std::unique_ptr<TestForm> form_;
};

TEST_F(FormTest, ReadsTheResourcePlacesTheChildrenAndRunsOnCreateLast) {
  TestForm* form = Make();
  EXPECT_TRUE(form->bound);
  EXPECT_EQ(form->events, (std::vector<std::string>{"created"}));
  EXPECT_TRUE(form->HandleAllocated()) << "shown at creation";
  auto* band = form->Find<TPanel>(u"Band");
  auto* body = form->Find<TPanel>(u"Body");
  ASSERT_TRUE(band && body && form->Find<TSaveDialog>(u"Dialog"));
  EXPECT_EQ(band->Bounds(), (Rect{1, 0, 398, 60}));
  EXPECT_EQ(body->Bounds(), (Rect{1, 60, 398, 239}));
  EXPECT_EQ(form->Find<TImage>(u"Strip")->Bounds(), (Rect{0, 0, 398, 20}));
  RECT r;
  GetWindowRect(band->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 398) << "the window follows the bounds";
}

TEST_F(FormTest, AnchorsFollowTheParentWhenTheFormGrows) {
  TestForm* form = Make();
  form->SetClientSize(800, 500);
  auto* band = form->Find<TPanel>(u"Band");
  EXPECT_EQ(band->Width(), 798);
  EXPECT_EQ(form->Find<TImage>(u"Button")->Bounds(), (Rect{770, 30, 12, 10}));
  const Rect& logo = form->Find<TImage>(u"Logo")->Bounds();
  EXPECT_EQ(logo.left + logo.width / 2, (149 + 50) * 798 / 398);
  EXPECT_EQ(form->Find<TPanel>(u"Body")->Bounds(), (Rect{1, 60, 798, 439}));
}

TEST_F(FormTest, ClicksReachTheGraphicControlUnderTheMouse) {
  TestForm* form = Make();
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  form->events.clear();
  PostClick(band, 375, 35);
  Drain();
  EXPECT_EQ(form->events, (std::vector<std::string>{"down Button 0 at 5,5", "click Button"}));
}

TEST_F(FormTest, AReleaseOutsideThePressedControlIsNoClick) {
  TestForm* form = Make();
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  form->events.clear();
  PostMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(375, 35));
  PostMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(300, 50));
  PostMessageW(band, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(375, 35));
  PostMessageW(band, WM_RBUTTONUP, 0, MAKELPARAM(375, 35));
  Drain();
  EXPECT_EQ(form->events, (std::vector<std::string>{"down Button 0 at 5,5", "down Button 1 at 5,5"}));
}

TEST_F(FormTest, ADoubleClickRaisesDblClickThenAPressMarkedDouble) {
  TestForm* form = Make();
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  form->events.clear();
  PostMessageW(band, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
  PostMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
  Drain();
  EXPECT_EQ(form->events, (std::vector<std::string>{"dblclick Strip", "down Strip 0 double at 100,10"}));
}

TEST_F(FormTest, ADoubleClickOnAButtonWithoutADoubleClickHandlerClicksOnce) {
  TestForm* form = Make();
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  form->events.clear();
  // What the system sends for a double-click: press, release, double press, release.
  PostClick(band, 375, 35);
  PostMessageW(band, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(375, 35));
  PostMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(375, 35));
  Drain();
  EXPECT_EQ(form->events, (std::vector<std::string>{"down Button 0 at 5,5", "click Button",
                                                    "down Button 0 double at 5,5"}));
  // The next single press clicks again.
  form->events.clear();
  PostClick(band, 375, 35);
  Drain();
  EXPECT_EQ(form->events, (std::vector<std::string>{"down Button 0 at 5,5", "click Button"}));
}

TEST_F(FormTest, TheExtraMouseButtonsReachThePressHandler) {
  TestForm* form = Make();
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  form->events.clear();
  EXPECT_EQ(SendMessageW(band, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(100, 10)), TRUE);
  EXPECT_EQ(SendMessageW(band, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(100, 10)), TRUE);
  SendMessageW(band, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MAKELPARAM(375, 35));
  SendMessageW(band, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), MAKELPARAM(375, 35));
  EXPECT_EQ(form->events, (std::vector<std::string>{"down Strip 3 at 100,10", "down Button 4 at 5,5"}))
      << "an extra button presses but never clicks";
}

TEST_F(FormTest, AMinimisedFormKeepsItsChildrenWhereTheyWere) {
  TestForm* form = Make();
  auto* band = form->Find<TPanel>(u"Band");
  auto* body = form->Find<TPanel>(u"Body");
  auto* button = form->Find<TImage>(u"Button");
  ShowWindow(form->Handle(), SW_MINIMIZE);
  Drain();
  ASSERT_TRUE(IsIconic(form->Handle()));
  EXPECT_EQ(band->Bounds(), (Rect{1, 0, 398, 60}));
  EXPECT_EQ(body->Bounds(), (Rect{1, 60, 398, 239}));
  ShowWindow(form->Handle(), SW_RESTORE);
  Drain();
  EXPECT_EQ(band->Bounds(), (Rect{1, 0, 398, 60}));
  EXPECT_EQ(body->Bounds(), (Rect{1, 60, 398, 239}));
  EXPECT_EQ(button->Bounds(), (Rect{370, 30, 12, 10}));
  EXPECT_EQ(form->Find<TImage>(u"Strip")->Bounds(), (Rect{0, 0, 398, 20}));
}

TEST_F(FormTest, AnExceptionInAnEventIsReportedAndTheLoopGoesOn) {
  testing_support::FakeSystem system;
  TestForm* form = Make();
  auto* button = form->Find<TImage>(u"Button");
  button->OnClick = [](TObject*) { throw std::runtime_error("click failed"); };
  HWND band = form->Find<TPanel>(u"Band")->Handle();
  PostClick(band, 375, 35);
  Drain();
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"click failed");
  button->OnClick = nullptr;
  PostClick(band, 375, 35);
  Drain();
  EXPECT_EQ(system.messageBoxes.size(), 1u);
}

TEST_F(FormTest, RecreatingAWindowKeepsItsChildrenWorking) {
  TestForm* form = Make();
  auto* band = form->Find<TPanel>(u"Band");
  HWND before = band->Handle();
  band->RecreateWnd();
  EXPECT_NE(band->Handle(), before);
  EXPECT_EQ(GetParent(band->Handle()), form->Handle());
  form->events.clear();
  PostClick(band->Handle(), 375, 35);
  Drain();
  EXPECT_EQ(form->events.back(), "click Button");
}

std::u16string LayoutError(const std::string& layout) {
  return testing_support::FailureMessage<platform::Exception>([&] { TestForm form(nullptr, layout); });
}

TEST_F(FormTest, ResourceFaultsNameTheirLine) {
  EXPECT_EQ(LayoutError("object F: TOther\nend\n"), u"Form resource, line 1: the resource describes a TOther, not a TTestForm");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  Colour = 3\nend\n"), u"Form resource, line 2: no property Colour in TTestForm");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  object X: TButton\n  end\nend\n"), u"Form resource, line 2: unknown class TButton");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  OnCreate = Missing\nend\n"), u"Form resource, line 2: the form has no method Missing");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  OnCreate = Pressed\nend\n"), u"Form resource, line 2: Pressed does not fit OnCreate");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  Color = clPurple\nend\n"), u"Form resource, line 2: unknown colour clPurple");
  EXPECT_EQ(LayoutError("object F: TTestForm\n  object P: TPanel\n  end\n  object P: TPanel\n  end\nend\n"),
            u"Form resource, line 4: a second component named P");
}

TEST(SaveDialogTest, ConfirmedDialogGivesTheChosenPathWithTheDefaultsAsked) {
  testing_support::FakeSystem system;
  system.chosenFile = u"C:\\내 문서\\공고.hwp";
  TSaveDialog dialog(nullptr);
  dialog.fileName = u"공고.hwp";
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.fileName, u"C:\\내 문서\\공고.hwp");
  ASSERT_EQ(system.saveDialogs.size(), 1u);
  const SaveDialogRequest& asked = system.saveDialogs[0];
  EXPECT_EQ(asked.fileName, u"공고.hwp");
  EXPECT_TRUE(asked.title.empty());
  EXPECT_TRUE(asked.filter.empty());
  EXPECT_TRUE(asked.defaultExt.empty());
  EXPECT_FALSE(asked.overwritePrompt);
  EXPECT_TRUE(asked.hideReadOnly);
  EXPECT_TRUE(asked.enableSizing);
}

TEST(SaveDialogTest, CancelledDialogKeepsTheName) {
  testing_support::FakeSystem system;
  system.confirmSave = false;
  TSaveDialog dialog(nullptr);
  dialog.fileName = u"a.pdf";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.fileName, u"a.pdf");
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterGdiplusPictureFormats(); }
  void TearDown() override { UnregisterGdiplusPictureFormats(); }
};

TEST_F(PictureTest, GifResourcesDecodeToTheirSize) {
  TPicture picture;
  picture.LoadFromResource(u"LOGO.GIF");
  EXPECT_EQ(picture.Width(), 292);
  EXPECT_EQ(picture.Height(), 50);
  // Opaque pictures have full alpha everywhere.
  EXPECT_EQ(picture.Bitmap()->Pixels()[0] >> 24, 0xFFu);
}

TEST_F(PictureTest, UnknownFormatsAndBadDataAreRefused) {
  TPicture picture;
  EXPECT_THROW(picture.LoadFromBytes(u"x.bmp", "BM"), platform::Exception);
  EXPECT_THROW(picture.LoadFromBytes(u"x.gif", "not a gif"), platform::Exception);
  EXPECT_TRUE(picture.Empty());
}

TEST_F(PictureTest, AStretchedImagePaintsItsPictureOverItsWholeArea) {
  TPicture picture;
  picture.LoadFromResource(u"TOOLBAND.GIF");
  TImage image(nullptr);
  image.SetPicture(picture);
  image.stretch = true;
  image.SetBounds(10, 5, 200, 50);
  TBitmap canvas(220, 60);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas.Handle());
  image.Paint(dc);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  uint32_t bottomLine = picture.Bitmap()->Pixels()[49 * 20 + 5] & 0xFFFFFF;
  uint32_t top = picture.Bitmap()->Pixels()[0] & 0xFFFFFF;
  EXPECT_EQ(canvas.Pixels()[54 * 220 + 150] & 0xFFFFFF, bottomLine) << "the light line at the bottom";
  EXPECT_EQ(canvas.Pixels()[5 * 220 + 10] & 0xFFFFFF, top);
  EXPECT_EQ(canvas.Pixels()[4 * 220 + 10], 0u) << "nothing outside the control";
  EXPECT_EQ(canvas.Pixels()[5 * 220 + 210], 0u);
}

}  // namespace
