#pragma once
// What the stand-in's browser tests share: a fresh runtime per test, references to runtime
// objects that are released at scope end, program doubles (a client, a DOM visitor) that
// count how they are held, and readers of the control interface's texts.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/ref.h"
#include "cef/ceflib/base_own.h"
#include "support/standin_control.h"

namespace browser_testing {

// One runtime reference held by the test, released when it goes.
template <class T>
class RuntimeRef {
 public:
  RuntimeRef() noexcept = default;
  explicit RuntimeRef(T* p) noexcept : p_(p) {}
  RuntimeRef(const RuntimeRef&) = delete;
  RuntimeRef& operator=(const RuntimeRef&) = delete;
  RuntimeRef(RuntimeRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  RuntimeRef& operator=(RuntimeRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~RuntimeRef() { reset(); }
  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->base.release(&p->base);
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// A client with no handlers: the runtime only keeps and releases it.
class TestClient : public cef::TCefBaseOwn {
 public:
  TestClient();
  // A new reference for the runtime.
  TCefClient* Hand() { return reinterpret_cast<TCefClient*>(Wrap()); }
};

// A DOM visitor that runs a check on each document it is handed.
class TestVisitor : public cef::TCefBaseOwn {
 public:
  explicit TestVisitor(std::function<void(TCefDomDocument*)> onVisit = {});
  TCefDomVisitor* Hand() { return reinterpret_cast<TCefDomVisitor*>(Wrap()); }
  int visits = 0;

 private:
  std::function<void(TCefDomDocument*)> onVisit_;
};

// A page written to a temporary folder of the test's own, removed at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  // Writes bytes to a file of the folder; answers its file:// address.
  std::u16string Write(const std::string& name, const std::string& bytes) const;
  std::u16string Url(const std::string& name) const;
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A borrowed runtime string over a text the caller keeps.
TCefString View(const std::u16string& text);

class BrowserTest : public ::testing::Test {
 protected:
  // Every browser closed, nothing of the program held, nothing left over: the probe then
  // checks that no object is alive and no error was found.
  void TearDown() override;

  const cef::CefExports& Api() const { return probe_.Api(); }
  const testing_support::StandinControl& Control() const { return probe_.Control(); }

  // A browser made with cef_browser_create_sync, without a window.
  RuntimeRef<TCefBrowser> CreateBrowser(const std::u16string& url = u"", TCefClient* client = nullptr);
  RuntimeRef<TCefFrame> MainFrame(TCefBrowser* browser) const;
  // Closes the browser and drops the test's reference.
  void Close(RuntimeRef<TCefBrowser>& browser) const;
  // Drives the work function until the browser has nothing pending; fails after 10 s.
  void WaitIdle(TCefBrowser* browser = nullptr) const;

  void LoadHtml(TCefFrame* frame, const std::u16string& html, const std::u16string& url) const;
  void LoadUrl(TCefFrame* frame, const std::u16string& url) const;

  // A userfree string read and freed.
  std::u16string Take(TCefStringUserFree s) const;
  std::u16string Url(TCefFrame* frame) const { return Take(frame->get_url(frame)); }
  std::u16string BrowserText(TCefBrowser* browser, const char* key) const;
  std::u16string FrameText(TCefFrame* frame, const char* key) const;
  int32_t Value(TCefBrowser* browser, const char* key) const { return Control().standin_browser_value(browser, key); }
  std::vector<std::u16string> FrameNames(TCefBrowser* browser, std::vector<std::u16string> initial = {}) const;

  testing_support::ProbeRuntime probe_;
};

}  // namespace browser_testing
