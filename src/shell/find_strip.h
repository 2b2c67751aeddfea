#pragma once
// The find strip: a slim band at the top of the browser panel with a text box, previous
// and next, a match-case choice, the match count and a close glyph. It searches as the
// person types and counts the position among the matches itself, since the runtime only
// says whether a match is active.

#include <windows.h>

#include <string>

#include "cef/cefvcl/chromium.h"
#include "ui/control.h"

namespace shell {

class TFindStrip : public ui::TWinControl {
 public:
  static constexpr int kHeight = 28;

  TFindStrip(ui::TComponent* owner, cef::TChromium& chrome);

  bool IsOpen() const { return Visible(); }
  // Shows the strip and puts the keyboard into its text box, with the text selected.
  void Open();
  // Ends the search, clears the page's selection, hides the strip and gives the page the
  // keyboard again.
  void Close();

  // A new search for text (typing does this); an empty text ends the search.
  void Search(const std::u16string& text);
  // The next or previous match of the current search.
  void FindNext(bool forward);
  void SetMatchCase(bool matchCase);
  bool MatchCase() const { return matchCase_; }
  // The find-result event: results of an earlier search are ignored.
  void FindResult(int count, bool identifier);
  // Enter and Shift+Enter in the text box; answers whether the key was taken.
  bool TakeKey(const MSG& msg, bool shift);

  const std::u16string& Text() const { return text_; }
  // The identifier of the current search, flipped for each new one.
  bool Identifier() const { return identifier_; }
  // "n / m" once the runtime has counted, empty before.
  std::u16string CountText() const;
  HWND TextBox() const { return box_; }

 protected:
  void CreateParams(WindowParams& params) override;
  void CreateWindowHandle(const WindowParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc) override;
  void Resized() override;
  void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;

 private:
  enum class Part { None, Previous, Next, MatchCase, Close };
  RECT PartRect(Part part) const;
  Part PartAt(int x, int y) const;
  void StartSearch();
  void ShowCount();

  cef::TChromium& chrome_;
  HWND box_ = nullptr;  // the text box, a child window that goes with the strip's
  std::u16string text_;
  bool identifier_ = false;
  bool matchCase_ = false;
  int count_ = -1;  // unknown until the runtime answers the current search
  int position_ = 0;
};

}  // namespace shell
