#pragma once
// Forms: top-level windows read from a form resource, with their creation, paint and
// resize events, their window state and the methods their resource binds events to.

#include <any>
#include <map>
#include <string>
#include <functional>

#include "platform/errors.h"

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/layout_reader.h"

namespace ui {

// Drawing on a device context with a pen and a brush.
class TCanvas {
 public:
  explicit TCanvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }
  TColor penColor = 0;
  TColor brushColor = clBtnFace;
  // The rectangle from (x1, y1) to (x2, y2), right and bottom exclusive, with rounded
  // corners of the given ellipse; the outline in the pen's colour, the inside in the brush's.
  void RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight);

 private:
  HDC dc_;
};

enum class WindowState { Normal, Minimized, Maximized };

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // The class name the form's resource must name.
  virtual std::u16string ClassName() const = 0;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& caption);
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  WindowState GetWindowState() const;
  void SetWindowState(WindowState state);
  // The icon resource the window shows in the taskbar and the system's window lists.
  void SetIcon(const std::u16string& resourceName);

  TNotifyEvent OnCreate;
  TNotifyEvent OnPaint;
  TNotifyEvent OnResize;
  // Valid while OnPaint runs.
  TCanvas* Canvas() const { return canvas_; }

  void Show();
  // Closes the form; closing the main form ends the application.
  void Close();
  // Invalidates the whole window and paints it at once.
  void Repaint();

  // A published method: an event callback of whatever type its event has, so that every
  // control class can bind events of its own types (TNotifyEvent, TMouseEvent, ...).
  using Method = std::any;
  const Method* FindMethod(const std::u16string& name) const;

  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;

 protected:
  // Methods that the form's resource may bind events to, by name.
  void PublishMethod(const std::u16string& name, Method method) { methods_[name] = std::move(method); }
  // Reads the children and properties from the RCDATA resource, lets bind() take the
  // form's references to its components, shows the form when its resource says so, and
  // then runs OnCreate.
  void InitFromResource(const std::u16string& resourceName, const std::function<void()>& bind);
  void InitFromLayout(const LayoutObject& layout, const std::function<void()>& bind);
  // The component of that name, which the resource must have made.
  template <class T>
  T* Require(const std::u16string& name) const {
    T* component = Find<T>(name);
    if (!component) throw platform::Exception(u"The form resource has no " + name);
    return component;
  }

  void CreateParams(WindowParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc) override;
  void Resized() override;

 private:
  std::u16string caption_;
  std::u16string iconName_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  bool showOnCreate_ = false;
  bool positioned_ = false;
  TCanvas* canvas_ = nullptr;
  std::map<std::u16string, Method> methods_;
};

}  // namespace ui
