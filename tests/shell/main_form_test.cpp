#include "shell/main_form.h"

#include <gtest/gtest.h>

#include "shell/main_form_fixture.h"
#include "support/fake_system.h"
#include "ui/application.h"

namespace {

using shell::TMainForm;

class MainFormTest : public shell_testing::MainFormFixture {
 protected:
  static RECT WindowRect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r;
  }
  static RECT WorkArea() {
    RECT r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
  }
};

TEST_F(MainFormTest, IsABorderlessShadowedWindowOfTheDesignedSize) {
  HWND window = form_->Handle();
  EXPECT_TRUE(IsWindowVisible(window));
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION) << "no system caption";
  EXPECT_FALSE(style & WS_THICKFRAME) << "no sizing frame";
  EXPECT_TRUE(GetClassLongPtrW(window, GCL_STYLE) & CS_DROPSHADOW);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 1058);
  EXPECT_EQ(client.bottom, 745);
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(caption)), u"QVN 분석프로그램");
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(MainFormTest, ChildrenSitWhereTheDesignPutsThem) {
  EXPECT_EQ(form_->Panel1->Bounds(), (ui::Rect{1, 0, 1056, 80}));
  EXPECT_EQ(form_->Panel2->Bounds(), (ui::Rect{1, 80, 1056, 664}));
  EXPECT_EQ(form_->TitleBarImage->Bounds(), (ui::Rect{2, 2, 1052, 28}));
  EXPECT_EQ(form_->TitleImage->Bounds(), (ui::Rect{10, 6, 127, 16}));
  EXPECT_EQ(form_->Image2->Bounds(), (ui::Rect{965, 9, 17, 11}));
  EXPECT_EQ(form_->BtnMin->Bounds(), (ui::Rect{990, 10, 12, 10}));
  EXPECT_EQ(form_->BtnMax->Bounds(), (ui::Rect{1011, 10, 12, 10}));
  EXPECT_EQ(form_->BtnClose->Bounds(), (ui::Rect{1032, 10, 11, 10}));
  EXPECT_EQ(form_->ToolBarImage->Bounds(), (ui::Rect{2, 30, 1052, 50}));
  EXPECT_EQ(form_->LogoImage->Bounds(), (ui::Rect{376, 30, 292, 50}));
  EXPECT_TRUE(form_->BtnMin->transparent);
  EXPECT_FALSE(form_->BtnMax->transparent);
  EXPECT_EQ(form_->LogoImage->GetCursor(), ui::Cursor::HandPoint);
}

TEST_F(MainFormTest, MaximiseFillsTheWorkAreaAndRestoresTheEarlierBounds) {
  HWND window = form_->Handle();
  SetWindowPos(window, nullptr, 40, 30, 1058, 745, SWP_NOZORDER);
  RECT before = WindowRect(window);
  form_->BtnMaxClick(form_->BtnMax);
  EXPECT_TRUE(IsZoomed(window));
  RECT area = WorkArea(), now = WindowRect(window);
  EXPECT_EQ(now.left, area.left);
  EXPECT_EQ(now.top, area.top);
  EXPECT_EQ(now.right, area.right);
  EXPECT_EQ(now.bottom, area.bottom);
  // The panels and buttons follow the new width.
  int width = area.right - area.left;
  EXPECT_EQ(form_->Panel1->Width(), width - 2);
  EXPECT_EQ(form_->Panel1->Width() - form_->BtnClose->Bounds().right(), 13);
  EXPECT_EQ(form_->Panel2->Height(), area.bottom - area.top - 80 - 1);

  form_->TitleBarImageDblClick(form_->TitleBarImage);  // the double-click toggles the same way
  EXPECT_FALSE(IsZoomed(window));
  RECT restored = WindowRect(window);
  EXPECT_EQ(restored.left, before.left);
  EXPECT_EQ(restored.top, before.top);
  EXPECT_EQ(restored.right, before.right);
  EXPECT_EQ(restored.bottom, before.bottom);
  EXPECT_EQ(form_->BtnClose->Bounds(), (ui::Rect{1032, 10, 11, 10}));
}

TEST_F(MainFormTest, MinimiseButtonMinimises) {
  form_->BtnMinClick(form_->BtnMin);
  EXPECT_TRUE(IsIconic(form_->Handle()));
  EXPECT_EQ(form_->GetWindowState(), ui::WindowState::Minimized);
}

TEST_F(MainFormTest, MinimiseThenRestoreBringsBackTheTitleBandAndItsButtons) {
  HWND window = form_->Handle();
  auto expectDesignPlaces = [&](const char* when) {
    EXPECT_EQ(form_->Panel1->Bounds(), (ui::Rect{1, 0, 1056, 80})) << when;
    EXPECT_EQ(form_->Panel2->Bounds(), (ui::Rect{1, 80, 1056, 664})) << when;
    EXPECT_EQ(form_->TitleBarImage->Bounds(), (ui::Rect{2, 2, 1052, 28})) << when;
    EXPECT_EQ(form_->TitleImage->Bounds(), (ui::Rect{10, 6, 127, 16})) << when;
    EXPECT_EQ(form_->Image2->Bounds(), (ui::Rect{965, 9, 17, 11})) << when;
    EXPECT_EQ(form_->BtnMin->Bounds(), (ui::Rect{990, 10, 12, 10})) << when;
    EXPECT_EQ(form_->BtnMax->Bounds(), (ui::Rect{1011, 10, 12, 10})) << when;
    EXPECT_EQ(form_->BtnClose->Bounds(), (ui::Rect{1032, 10, 11, 10})) << when;
    EXPECT_EQ(form_->ToolBarImage->Bounds(), (ui::Rect{2, 30, 1052, 50})) << when;
    EXPECT_EQ(form_->LogoImage->Bounds(), (ui::Rect{376, 30, 292, 50})) << when;
  };
  form_->BtnMinClick(form_->BtnMin);
  ASSERT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  ASSERT_FALSE(IsIconic(window));
  expectDesignPlaces("after restoring");

  // From the maximised state, too: the band comes back at the work area's width.
  form_->BtnMaxClick(form_->BtnMax);
  ASSERT_TRUE(IsZoomed(window));
  RECT area = WorkArea();
  int width = area.right - area.left, height = area.bottom - area.top;
  form_->BtnMinClick(form_->BtnMin);
  ASSERT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  EXPECT_EQ(form_->Panel1->Bounds(), (ui::Rect{1, 0, width - 2, 80}));
  EXPECT_EQ(form_->Panel2->Bounds(), (ui::Rect{1, 80, width - 2, height - 81}));
  EXPECT_EQ(form_->TitleBarImage->Bounds(), (ui::Rect{2, 2, width - 6, 28}));
  EXPECT_EQ(form_->Panel1->Width() - form_->BtnClose->Bounds().right(), 13);
  form_->BtnMaxClick(form_->BtnMax);
  expectDesignPlaces("after the maximised window was restored");
}

// The title bar hands any press to the system as a press on a caption.
WNDPROC g_original = nullptr;
std::vector<std::pair<WPARAM, LPARAM>> g_ncPresses;
LRESULT CALLBACK Observe(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCLBUTTONDOWN) {
    g_ncPresses.emplace_back(wp, lp);
    return 0;  // no move loop in a test
  }
  return CallWindowProcW(g_original, w, m, wp, lp);
}

// Records the non-client presses the window receives while it lives, instead of moving.
class ObservedPresses {
 public:
  explicit ObservedPresses(HWND window) : window_(window) {
    g_ncPresses.clear();
    g_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Observe)));
  }
  ~ObservedPresses() { SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_original)); }
  const std::vector<std::pair<WPARAM, LPARAM>>& Presses() const { return g_ncPresses; }

 private:
  HWND window_;
};

TEST_F(MainFormTest, APressOnTheTitleBarStartsTheSystemsMove) {
  ObservedPresses observed(form_->Handle());
  HWND band = form_->Panel1->Handle();
  SendMessageW(band, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 15));
  EXPECT_EQ(GetCapture(), nullptr) << "the capture was released for the system";
  SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 5));
  SendMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  // Neither the tool band nor a button starts a move.
  SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 50));
  SendMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(500, 50));
  SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(995, 14));
  SendMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(995, 14));
  SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 12));  // the caption artwork
  ASSERT_EQ(observed.Presses().size(), 2u);
  for (auto& [wParam, lParam] : observed.Presses()) {
    EXPECT_EQ(wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(lParam, 0);
  }
}

// What the system sends for a double-click: press, release, double press, release.
void DoubleClick(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(MainFormTest, ADoubleClickOnTheMaximiseButtonTogglesOnce) {
  HWND window = form_->Handle();
  HWND band = form_->Panel1->Handle();
  ObservedPresses observed(window);
  int x = form_->BtnMax->Left() + 4;
  DoubleClick(band, x, 14);
  // The first press maximised the window and the button moved right with the edge: the
  // second press landed on the title bar, a press of its own there and no double-click.
  EXPECT_TRUE(IsZoomed(window)) << "one toggle, not two";
  EXPECT_EQ(observed.Presses().size(), 1u);
  // Both presses on the button where it now is: one toggle back.
  DoubleClick(band, form_->BtnMax->Left() + 4, 14);
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_EQ(form_->BtnMax->Left() + 4, x);
  // The title bar's own double-click handler still runs.
  g_ncPresses.clear();
  DoubleClick(band, 500, 15);
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_EQ(observed.Presses().size(), 2u) << "both presses reach the press handler";
}

TEST_F(MainFormTest, AnyMouseButtonOnTheTitleBarStartsTheMove) {
  ObservedPresses observed(form_->Handle());
  HWND band = form_->Panel1->Handle();
  SendMessageW(band, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(400, 15));
  SendMessageW(band, WM_MBUTTONUP, 0, MAKELPARAM(400, 15));
  SendMessageW(band, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(400, 15));
  SendMessageW(band, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(400, 15));
  SendMessageW(band, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MAKELPARAM(400, 15));
  EXPECT_EQ(observed.Presses().size(), 3u);
}

TEST_F(MainFormTest, TheProgramIconHasFour32BitImages) {
  HRSRC group = FindResourceW(nullptr, L"MAINICON", reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
  uint16_t count = *reinterpret_cast<const uint16_t*>(dir + 4);
  ASSERT_EQ(count, 4);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    EXPECT_EQ(*reinterpret_cast<const uint16_t*>(entry + 6), 32) << "bit count of image " << i;
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 64}));
}

TEST(ManifestTest, AsksForThemedCommonControlsAndTheInvokersRights) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_MANIFEST));
  ASSERT_NE(info, nullptr);
  std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, info))), SizeofResource(nullptr, info));
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos);
  EXPECT_NE(manifest.find(R"(requestedExecutionLevel level="asInvoker")"), std::string::npos);
}

}  // namespace
