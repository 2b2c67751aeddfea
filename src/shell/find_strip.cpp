#include "shell/find_strip.h"

#include <algorithm>

#include "platform/text.h"
#include "shell/palette.h"
#include "ui/gdi.h"

namespace shell {

namespace {

// The panels' grey-brown, light glyphs, the accent for a chosen option.
constexpr COLORREF kBackground = palette::kBandBottom;
constexpr COLORREF kLine = palette::kBandLine;
using palette::kAccent;
using palette::kGlyph;
using palette::kGlyphHalf;

constexpr int kBoxLeft = 8, kBoxTop = 4, kBoxWidth = 220, kBoxHeight = 20;
constexpr int kGlyphSize = 20;

std::u16string BoxText(HWND box) {
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, u'\0');
  int length = GetWindowTextW(box, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(0, length)));
  return text;
}

void Line(HDC dc, std::initializer_list<POINT> points) {
  Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

}  // namespace

TFindStrip::TFindStrip(ui::TComponent* owner, cef::TChromium& chrome) : TWinControl(owner), chrome_(chrome) {
  SetVisible(false);
  SetBounds(0, 0, 0, kHeight);
  SetAlign(ui::Align::Top);
}

void TFindStrip::CreateParams(WindowParams& params) {
  TWinControl::CreateParams(params);
  params.className = u"TFindStrip";
}

void TFindStrip::CreateWindowHandle(const WindowParams& params) {
  TWinControl::CreateWindowHandle(params);
  box_ = CreateWindowExW(0, L"EDIT", platform::AsWide(text_), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                         kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight, Handle(), nullptr, ui::ModuleInstance(), nullptr);
  SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(palette::ControlFont()), FALSE);
}

LRESULT TFindStrip::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // The box reports every change, also the one Search makes: the same text is no new search.
      if (box_ && reinterpret_cast<HWND>(lParam) == box_ && HIWORD(wParam) == EN_CHANGE) {
        if (std::u16string text = BoxText(box_); text != text_) Search(text);
        return 0;
      }
      break;
    case WM_DESTROY:
      box_ = nullptr;  // the system destroys it with the strip
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void TFindStrip::Open() {
  SetVisible(true);
  SetFocus(TextBox() ? TextBox() : Handle());
  if (box_) SendMessageW(box_, EM_SETSEL, 0, -1);
  // Coming back with a text searches it again, as a new search.
  if (!text_.empty()) StartSearch();
}

void TFindStrip::Close() {
  if (chrome_.Browser()) chrome_.Browser()->StopFinding(true);
  count_ = -1;
  position_ = 0;
  ShowCount();
  bool hadKeyboard = box_ && GetFocus() == box_;
  SetVisible(false);
  if (hadKeyboard || !GetFocus()) SetFocus(chrome_.Handle());
}

void TFindStrip::Search(const std::u16string& text) {
  text_ = text;
  if (box_ && BoxText(box_) != text_) SetWindowTextW(box_, platform::AsWide(text_));
  StartSearch();
}

void TFindStrip::StartSearch() {
  count_ = -1;
  position_ = 0;
  cef::Ref<cef::ICefBrowser> browser = chrome_.Browser();
  if (browser && text_.empty()) browser->StopFinding(true);
  if (browser && !text_.empty()) {
    identifier_ = !identifier_;
    position_ = 1;
    browser->Find(text_, identifier_, true, matchCase_, false);
  }
  ShowCount();
}

void TFindStrip::FindNext(bool forward) {
  cef::Ref<cef::ICefBrowser> browser = chrome_.Browser();
  if (!browser || text_.empty()) return;
  browser->Find(text_, identifier_, forward, matchCase_, true);
  if (count_ > 0) position_ = forward ? position_ % count_ + 1 : (position_ + count_ - 2) % count_ + 1;
  ShowCount();
}

void TFindStrip::SetMatchCase(bool matchCase) {
  if (matchCase == matchCase_) return;
  matchCase_ = matchCase;
  StartSearch();
}

void TFindStrip::FindResult(int count, bool identifier) {
  // The identifier only tells this search from the one before: an answer to an older
  // search that arrives late must not overwrite the current count.
  if (identifier != identifier_ || text_.empty()) return;
  count_ = std::max(0, count);
  position_ = count_ == 0 ? 0 : std::clamp(position_, 1, count_);
  ShowCount();
}

bool TFindStrip::TakeKey(const MSG& msg, bool shift) {
  if (!box_ || msg.hwnd != box_ || msg.wParam != VK_RETURN) return false;
  FindNext(!shift);
  return true;
}

std::u16string TFindStrip::CountText() const {
  if (count_ < 0) return u"";
  return platform::IntToText(position_) + u" / " + platform::IntToText(count_);
}

RECT TFindStrip::PartRect(Part part) const {
  int left = kBoxLeft + kBoxWidth + 8, top = (kHeight - kGlyphSize) / 2;
  switch (part) {
    case Part::Previous: return {left, top, left + kGlyphSize, top + kGlyphSize};
    case Part::Next: return {left + kGlyphSize + 2, top, left + 2 * kGlyphSize + 2, top + kGlyphSize};
    case Part::MatchCase: return {left + 2 * kGlyphSize + 8, top, left + 3 * kGlyphSize + 14, top + kGlyphSize};
    case Part::Close: return {Width() - kGlyphSize - 6, top, Width() - 6, top + kGlyphSize};
    case Part::None: break;
  }
  return {};
}

TFindStrip::Part TFindStrip::PartAt(int x, int y) const {
  for (Part part : {Part::Previous, Part::Next, Part::MatchCase, Part::Close}) {
    RECT r = PartRect(part);
    if (PtInRect(&r, POINT{x, y})) return part;
  }
  return Part::None;
}

void TFindStrip::MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  if (button != ui::MouseButton::Left) return;
  switch (PartAt(x, y)) {
    case Part::Previous: FindNext(false); break;
    case Part::Next: FindNext(true); break;
    case Part::MatchCase: SetMatchCase(!matchCase_); break;
    case Part::Close: Close(); break;
    case Part::None: break;
  }
}

void TFindStrip::PaintWindow(HDC dc) {
  RECT client{0, 0, Width(), Height()};
  ui::UniqueBrush background(CreateSolidBrush(kBackground));
  FillRect(dc, &client, background.get());
  ui::UniquePen line(CreatePen(PS_SOLID, 1, kLine));
  ui::UniquePen glyph(CreatePen(PS_SOLID, 2, kGlyph));
  ui::UniquePen accent(CreatePen(PS_SOLID, 1, kAccent));
  {
    ui::SelectScope pen(dc, line.get());
    Line(dc, {{0, Height() - 1}, {Width(), Height() - 1}});
  }
  ui::SelectScope pen(dc, glyph.get());
  RECT r = PartRect(Part::Previous);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  Line(dc, {{cx - 5, cy + 3}, {cx, cy - 2}, {cx + 5, cy + 3}});
  r = PartRect(Part::Next);
  cx = (r.left + r.right) / 2;
  Line(dc, {{cx - 5, cy - 3}, {cx, cy + 2}, {cx + 5, cy - 3}});
  r = PartRect(Part::Close);
  cx = (r.left + r.right) / 2;
  Line(dc, {{cx - 5, cy - 5}, {cx + 5, cy + 5}});
  Line(dc, {{cx + 5, cy - 5}, {cx - 5, cy + 5}});

  ui::SelectScope font(dc, palette::ControlFont());
  SetBkMode(dc, TRANSPARENT);
  r = PartRect(Part::MatchCase);
  if (matchCase_) {
    ui::SelectScope frame(dc, accent.get());
    ui::SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  SetTextColor(dc, matchCase_ ? kGlyph : kGlyphHalf);
  DrawTextW(dc, L"Aa", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  std::u16string count = CountText();
  RECT text{r.right + 10, 0, PartRect(Part::Close).left - 8, Height()};
  SetTextColor(dc, kGlyph);
  DrawTextW(dc, platform::AsWide(count), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TFindStrip::Resized() { Invalidate(); }

void TFindStrip::ShowCount() {
  // The count is also the strip's window text, where screen readers find it.
  if (HandleAllocated()) SetWindowTextW(Handle(), platform::AsWide(CountText()));
  Invalidate();
}

}  // namespace shell
