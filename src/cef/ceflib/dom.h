#pragma once
// The document tree of a frame, reached through a visit: wrappers over the runtime's
// documents, nodes and events, and the program's visitors and event listeners.

#include <cstdint>
#include <functional>
#include <string>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/wrapper_support.h"

// <windowsx.h> defines window-walking macros under the names of node operations; the
// operations keep their own names whichever header came first.
#ifdef GetFirstChild
#undef GetFirstChild
#endif
#ifdef GetNextSibling
#undef GetNextSibling
#endif

namespace cef {

class ICefDomNode;
class ICefDomEvent;
class ICefDomEventListener;

class ICefDomDocument : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{08E74052-45AF-4F69-A578-98A5C3959426}");
  using Parent = ICefBase;

  // The runtime's document type, passed through.
  virtual int32_t GetType() = 0;
  // The document node.
  virtual Ref<ICefDomNode> GetDocument() = 0;
  virtual Ref<ICefDomNode> GetBody() = 0;
  virtual Ref<ICefDomNode> GetHead() = 0;
  virtual std::u16string GetTitle() = 0;
  virtual Ref<ICefDomNode> GetElementById(const std::u16string& id) = 0;
  virtual Ref<ICefDomNode> GetFocusedNode() = 0;
  virtual bool HasSelection() = 0;
  virtual Ref<ICefDomNode> GetSelectionStartNode() = 0;
  virtual int32_t GetSelectionStartOffset() = 0;
  virtual Ref<ICefDomNode> GetSelectionEndNode() = 0;
  virtual int32_t GetSelectionEndOffset() = 0;
  virtual std::u16string GetSelectionAsMarkup() = 0;
  virtual std::u16string GetSelectionAsText() = 0;
  virtual std::u16string GetBaseUrl() = 0;
  virtual std::u16string GetCompleteUrl(const std::u16string& partialUrl) = 0;
};
template <>
struct CefWireOf<ICefDomDocument> {
  using type = TCefDomDocument;
};

using TCefFastDomVisitorProc = std::function<void(const Ref<ICefDomDocument>& document)>;
using TCefFastDomEventListenerProc = std::function<void(const Ref<ICefDomEvent>& event)>;

class ICefDomNode : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{96C03C9E-9C98-491A-8DAD-1947332232D6}");
  using Parent = ICefBase;

  // The runtime's node type, passed through.
  virtual int32_t GetType() = 0;
  virtual bool IsText() = 0;
  virtual bool IsElement() = 0;
  // A null node goes to the runtime as null.
  virtual bool IsSame(const Ref<ICefDomNode>& that) = 0;
  virtual std::u16string GetName() = 0;
  virtual std::u16string GetValue() = 0;
  virtual bool SetValue(const std::u16string& value) = 0;
  virtual std::u16string GetAsMarkup() = 0;
  virtual Ref<ICefDomDocument> GetDocument() = 0;
  virtual Ref<ICefDomNode> GetParent() = 0;
  virtual Ref<ICefDomNode> GetPreviousSibling() = 0;
  virtual Ref<ICefDomNode> GetNextSibling() = 0;
  virtual bool HasChildren() = 0;
  virtual Ref<ICefDomNode> GetFirstChild() = 0;
  virtual Ref<ICefDomNode> GetLastChild() = 0;
  virtual void AddEventListener(const std::u16string& eventType, bool useCapture,
                                const Ref<ICefDomEventListener>& listener) = 0;
  // A listener over proc, held by the runtime alone once the call returns.
  virtual void AddEventListenerProc(const std::u16string& eventType, bool useCapture,
                                    TCefFastDomEventListenerProc proc) = 0;
  virtual std::u16string GetElementTagName() = 0;
  virtual bool HasElementAttributes() = 0;
  virtual bool HasElementAttribute(const std::u16string& attrName) = 0;
  virtual std::u16string GetElementAttribute(const std::u16string& attrName) = 0;
  // The runtime fills the caller's map with the element's attributes.
  virtual void GetElementAttributes(ICefStringMap& attrMap) = 0;
  virtual bool SetElementAttribute(const std::u16string& attrName, const std::u16string& value) = 0;
  virtual std::u16string GetElementInnerText() = 0;
};
template <>
struct CefWireOf<ICefDomNode> {
  using type = TCefDomNode;
};

class ICefDomEvent : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{2CBD2259-ADC6-4187-9008-A666B57695CE}");
  using Parent = ICefBase;

  // The event type's name.
  virtual std::u16string GetType() = 0;
  // The runtime's category and phase, passed through.
  virtual int32_t GetCategory() = 0;
  virtual int32_t GetPhase() = 0;
  virtual bool CanBubble() = 0;
  virtual bool CanCancel() = 0;
  virtual Ref<ICefDomDocument> GetDocument() = 0;
  virtual Ref<ICefDomNode> GetTarget() = 0;
  virtual Ref<ICefDomNode> GetCurrentTarget() = 0;
};
template <>
struct CefWireOf<ICefDomEvent> {
  using type = TCefDomEvent;
};

class ICefDomVisitor : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{30398428-3196-4531-B968-2DDBED36F6B0}");
  using Parent = ICefBase;

  virtual void Visit(const Ref<ICefDomDocument>& document) = 0;
};
template <>
struct CefWireOf<ICefDomVisitor> {
  using type = TCefDomVisitor;
};

class ICefDomEventListener : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{68BABB49-1824-42D0-ACCC-FDE9F8D39B88}");
  using Parent = ICefBase;

  virtual void HandleEvent(const Ref<ICefDomEvent>& event) = 0;
};
template <>
struct CefWireOf<ICefDomEventListener> {
  using type = TCefDomEventListener;
};

class TCefDomDocumentRef : public TCefRefOf<ICefDomDocument> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefDomDocument> UnWrap(TCefDomDocument* data);

  int32_t GetType() override;
  Ref<ICefDomNode> GetDocument() override;
  Ref<ICefDomNode> GetBody() override;
  Ref<ICefDomNode> GetHead() override;
  std::u16string GetTitle() override;
  Ref<ICefDomNode> GetElementById(const std::u16string& id) override;
  Ref<ICefDomNode> GetFocusedNode() override;
  bool HasSelection() override;
  Ref<ICefDomNode> GetSelectionStartNode() override;
  int32_t GetSelectionStartOffset() override;
  Ref<ICefDomNode> GetSelectionEndNode() override;
  int32_t GetSelectionEndOffset() override;
  std::u16string GetSelectionAsMarkup() override;
  std::u16string GetSelectionAsText() override;
  std::u16string GetBaseUrl() override;
  std::u16string GetCompleteUrl(const std::u16string& partialUrl) override;
};

class TCefDomNodeRef : public TCefRefOf<ICefDomNode> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefDomNode> UnWrap(TCefDomNode* data);

  int32_t GetType() override;
  bool IsText() override;
  bool IsElement() override;
  bool IsSame(const Ref<ICefDomNode>& that) override;
  std::u16string GetName() override;
  std::u16string GetValue() override;
  bool SetValue(const std::u16string& value) override;
  std::u16string GetAsMarkup() override;
  Ref<ICefDomDocument> GetDocument() override;
  Ref<ICefDomNode> GetParent() override;
  Ref<ICefDomNode> GetPreviousSibling() override;
  Ref<ICefDomNode> GetNextSibling() override;
  bool HasChildren() override;
  Ref<ICefDomNode> GetFirstChild() override;
  Ref<ICefDomNode> GetLastChild() override;
  void AddEventListener(const std::u16string& eventType, bool useCapture,
                        const Ref<ICefDomEventListener>& listener) override;
  void AddEventListenerProc(const std::u16string& eventType, bool useCapture,
                            TCefFastDomEventListenerProc proc) override;
  std::u16string GetElementTagName() override;
  bool HasElementAttributes() override;
  bool HasElementAttribute(const std::u16string& attrName) override;
  std::u16string GetElementAttribute(const std::u16string& attrName) override;
  void GetElementAttributes(ICefStringMap& attrMap) override;
  bool SetElementAttribute(const std::u16string& attrName, const std::u16string& value) override;
  std::u16string GetElementInnerText() override;
};

class TCefDomEventRef : public TCefRefOf<ICefDomEvent> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefDomEvent> UnWrap(TCefDomEvent* data);

  std::u16string GetType() override;
  int32_t GetCategory() override;
  int32_t GetPhase() override;
  bool CanBubble() override;
  bool CanCancel() override;
  Ref<ICefDomDocument> GetDocument() override;
  Ref<ICefDomNode> GetTarget() override;
  Ref<ICefDomNode> GetCurrentTarget() override;
};

// A visitor the runtime calls with a frame's document. The base visit does nothing.
class TCefDomVisitorOwn : public TCefBaseOwn, public virtual ICefDomVisitor {
 public:
  TCefDomVisitorOwn();
  void Visit(const Ref<ICefDomDocument>& document) override {}

 protected:
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  static void CEF_CALLBACK cef_visit(TCefDomVisitor* self, TCefDomDocument* document);
};

// A visitor that calls a procedure instead of being derived.
class TCefFastDomVisitor : public TCefDomVisitorOwn {
 public:
  explicit TCefFastDomVisitor(TCefFastDomVisitorProc proc) : FProc(std::move(proc)) {}
  void Visit(const Ref<ICefDomDocument>& document) override;

 private:
  TCefFastDomVisitorProc FProc;
};

// A listener the runtime calls with each event. The base does nothing with it.
class TCefDomEventListenerOwn : public TCefBaseOwn, public virtual ICefDomEventListener {
 public:
  TCefDomEventListenerOwn();
  void HandleEvent(const Ref<ICefDomEvent>& event) override {}

 protected:
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  static void CEF_CALLBACK cef_handle_event(TCefDomEventListener* self, TCefDomEvent* event);
};

// A listener that calls a procedure instead of being derived.
class TCefFastDomEventListener : public TCefDomEventListenerOwn {
 public:
  explicit TCefFastDomEventListener(TCefFastDomEventListenerProc proc) : FProc(std::move(proc)) {}
  void HandleEvent(const Ref<ICefDomEvent>& event) override;

 private:
  TCefFastDomEventListenerProc FProc;
};

}  // namespace cef
