#pragma once
// Browsers and frames: wrappers over the runtime's objects, and the synchronous creation
// of a browser.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cef/ceflib/dom.h"
#include "cef/ceflib/request.h"
#include "cef/ceflib/streams.h"
#include "cef/ceflib/wrapper_support.h"
#include "platform/stream.h"

// <windows.h> maps LoadString to LoadStringW; the frame's operation keeps its own name
// whichever header came first.
#ifdef LoadString
#undef LoadString
#endif

namespace cef {

class ICefFrame;

class ICefBrowser : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{BA003C2E-CF15-458F-9D4A-FE3CEFCF3EEF}");
  using Parent = ICefBase;

  virtual void ParentWindowWillClose() = 0;
  virtual void CloseBrowser() = 0;
  virtual bool CanGoBack() = 0;
  virtual void GoBack() = 0;
  virtual bool CanGoForward() = 0;
  virtual void GoForward() = 0;
  virtual void Reload() = 0;
  virtual void ReloadIgnoreCache() = 0;
  virtual void StopLoad() = 0;
  virtual void SetFocus(bool enable) = 0;
  virtual TCefWindowHandle GetWindowHandle() = 0;
  virtual TCefWindowHandle GetOpenerWindowHandle() = 0;
  virtual bool IsPopup() = 0;
  virtual bool HasDocument() = 0;
  // The runtime's client as a plain ICefBase, not the program's own client object.
  virtual Ref<ICefBase> GetClient() = 0;
  virtual Ref<ICefFrame> GetMainFrame() = 0;
  virtual Ref<ICefFrame> GetFocusedFrame() = 0;
  // Null when there is no frame of that name.
  virtual Ref<ICefFrame> GetFrame(const std::u16string& name) = 0;
  // Appends the names of the frames to names, which is not cleared first.
  virtual void GetFrameNames(std::vector<std::u16string>& names) = 0;
  virtual void Find(const std::u16string& searchText, bool identifier, bool forward, bool matchCase,
                    bool findNext) = 0;
  virtual void StopFinding(bool clearSelection) = 0;
  virtual double GetZoomLevel() = 0;
  virtual void SetZoomLevel(double zoomLevel) = 0;
  virtual void ClearHistory() = 0;
  virtual void ShowDevTools() = 0;
  virtual void CloseDevTools() = 0;
  virtual bool IsWindowRenderingDisabled() = 0;
  // The runtime writes width and height. Type, key, modifier and button codes here and
  // below are the runtime's, passed through.
  virtual bool GetSize(int32_t type, int32_t& width, int32_t& height) = 0;
  virtual void SetSize(int32_t type, int32_t width, int32_t height) = 0;
  virtual bool IsPopupVisible() = 0;
  virtual void HidePopup() = 0;
  virtual void Invalidate(const TCefRect* dirtyRect) = 0;
  virtual bool GetImage(int32_t type, int32_t width, int32_t height, void* buffer) = 0;
  virtual void SendKeyEvent(int32_t type, int32_t key, int32_t modifiers, bool sysChar, bool imeChar) = 0;
  virtual void SendMouseClickEvent(int32_t x, int32_t y, int32_t type, bool mouseUp, int32_t clickCount) = 0;
  virtual void SendMouseMoveEvent(int32_t x, int32_t y, bool mouseLeave) = 0;
  virtual void SendMouseWheelEvent(int32_t x, int32_t y, int32_t delta) = 0;
  virtual void SendFocusEvent(bool setFocus) = 0;
  virtual void SendCaptureLostEvent() = 0;
};
template <>
struct CefWireOf<ICefBrowser> {
  using type = TCefBrowser;
};

class ICefFrame : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{8FD3D3A6-EA3A-4A72-8501-0276BD5C3D1D}");
  using Parent = ICefBase;

  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void Delete() = 0;
  virtual void SelectAll() = 0;
  virtual void Print() = 0;
  virtual void ViewSource() = 0;
  virtual std::u16string GetSource() = 0;
  virtual std::u16string GetText() = 0;
  virtual void LoadRequest(const Ref<ICefRequest>& request) = 0;
  virtual void LoadUrl(const std::u16string& url) = 0;
  virtual void LoadString(const std::u16string& str, const std::u16string& url) = 0;
  // Loads a program stream: the first form hands the stream over, to be destroyed with the
  // runtime's reader; the second borrows it, and the caller keeps it alive while it loads.
  virtual void LoadStream(std::unique_ptr<platform::TStream> stream, const std::u16string& url) = 0;
  virtual void LoadStream(platform::TStream& stream, const std::u16string& url) = 0;
  // Loads a file through the runtime's file reader; a file it cannot open loads nothing
  // and raises nothing.
  virtual void LoadFile(const std::u16string& filename, const std::u16string& url) = 0;
  virtual void ExecuteJavaScript(const std::u16string& jsCode, const std::u16string& scriptUrl,
                                 int32_t startLine) = 0;
  virtual bool IsMain() = 0;
  virtual bool IsFocused() = 0;
  virtual std::u16string GetName() = 0;
  virtual std::u16string GetUrl() = 0;
  virtual Ref<ICefBrowser> GetBrowser() = 0;
  virtual void VisitDom(const Ref<ICefDomVisitor>& visitor) = 0;
  // A visitor over proc, held by the runtime alone once the call returns.
  virtual void VisitDomProc(TCefFastDomVisitorProc proc) = 0;
};
template <>
struct CefWireOf<ICefFrame> {
  using type = TCefFrame;
};

class TCefBrowserRef : public TCefRefOf<ICefBrowser> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefBrowser> UnWrap(TCefBrowser* data);

  void ParentWindowWillClose() override;
  void CloseBrowser() override;
  bool CanGoBack() override;
  void GoBack() override;
  bool CanGoForward() override;
  void GoForward() override;
  void Reload() override;
  void ReloadIgnoreCache() override;
  void StopLoad() override;
  void SetFocus(bool enable) override;
  TCefWindowHandle GetWindowHandle() override;
  TCefWindowHandle GetOpenerWindowHandle() override;
  bool IsPopup() override;
  bool HasDocument() override;
  Ref<ICefBase> GetClient() override;
  Ref<ICefFrame> GetMainFrame() override;
  Ref<ICefFrame> GetFocusedFrame() override;
  Ref<ICefFrame> GetFrame(const std::u16string& name) override;
  void GetFrameNames(std::vector<std::u16string>& names) override;
  void Find(const std::u16string& searchText, bool identifier, bool forward, bool matchCase,
            bool findNext) override;
  void StopFinding(bool clearSelection) override;
  double GetZoomLevel() override;
  void SetZoomLevel(double zoomLevel) override;
  void ClearHistory() override;
  void ShowDevTools() override;
  void CloseDevTools() override;
  bool IsWindowRenderingDisabled() override;
  bool GetSize(int32_t type, int32_t& width, int32_t& height) override;
  void SetSize(int32_t type, int32_t width, int32_t height) override;
  bool IsPopupVisible() override;
  void HidePopup() override;
  void Invalidate(const TCefRect* dirtyRect) override;
  bool GetImage(int32_t type, int32_t width, int32_t height, void* buffer) override;
  void SendKeyEvent(int32_t type, int32_t key, int32_t modifiers, bool sysChar, bool imeChar) override;
  void SendMouseClickEvent(int32_t x, int32_t y, int32_t type, bool mouseUp, int32_t clickCount) override;
  void SendMouseMoveEvent(int32_t x, int32_t y, bool mouseLeave) override;
  void SendMouseWheelEvent(int32_t x, int32_t y, int32_t delta) override;
  void SendFocusEvent(bool setFocus) override;
  void SendCaptureLostEvent() override;
};

class TCefFrameRef : public TCefRefOf<ICefFrame> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefFrame> UnWrap(TCefFrame* data);

  void Undo() override;
  void Redo() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Delete() override;
  void SelectAll() override;
  void Print() override;
  void ViewSource() override;
  std::u16string GetSource() override;
  std::u16string GetText() override;
  void LoadRequest(const Ref<ICefRequest>& request) override;
  void LoadUrl(const std::u16string& url) override;
  void LoadString(const std::u16string& str, const std::u16string& url) override;
  void LoadStream(std::unique_ptr<platform::TStream> stream, const std::u16string& url) override;
  void LoadStream(platform::TStream& stream, const std::u16string& url) override;
  void LoadFile(const std::u16string& filename, const std::u16string& url) override;
  void ExecuteJavaScript(const std::u16string& jsCode, const std::u16string& scriptUrl, int32_t startLine) override;
  bool IsMain() override;
  bool IsFocused() override;
  std::u16string GetName() override;
  std::u16string GetUrl() override;
  Ref<ICefBrowser> GetBrowser() override;
  void VisitDom(const Ref<ICefDomVisitor>& visitor) override;
  void VisitDomProc(TCefFastDomVisitorProc proc) override;

 private:
  // Hands a reader to the runtime's load-stream member, which streams and files share.
  void LoadReader(const Ref<ICefStreamReader>& reader, const std::u16string& url);
};

// Loads the runtime if it is not loaded yet, then creates a browser in the window that
// windowInfo describes, with one reference to client for the runtime; null when the
// runtime makes none. The client is handed over only once the runtime is loaded, so a
// failed load leaves no reference behind.
Ref<ICefBrowser> CefBrowserCreateSync(TCefWindowInfo* windowInfo, const Ref<ICefBase>& client,
                                      const std::u16string& url, const TCefBrowserSettings* settings);

}  // namespace cef
