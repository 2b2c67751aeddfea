#include "cef/ceflib/dom.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "cef/ceflib/string_map.h"
#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using fakes::FakeDomDocument;
using fakes::FakeDomEvent;
using fakes::FakeDomNode;
using Log = std::vector<std::string>;

class DomTest : public fakes::FakeTest {
 protected:
  // The one object a fake kept, taken over by the test.
  template <class S>
  S* TakeKept() {
    EXPECT_EQ(fakes::Kept().size(), 1u);
    auto* kept = reinterpret_cast<S*>(fakes::Kept().back());
    fakes::Kept().clear();
    return kept;
  }
};

TEST_F(DomTest, DocumentOperationsReachTheirMembers) {
  FakeDomDocument fake;
  Ref<ICefDomDocument> document = TCefDomDocumentRef::UnWrap(fake.Hand());
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { document->GetType(); }, "get_type"},
      {[&] { document->GetDocument(); }, "get_document"},
      {[&] { document->GetBody(); }, "get_body"},
      {[&] { document->GetHead(); }, "get_head"},
      {[&] { document->GetTitle(); }, "get_title"},
      {[&] { document->GetElementById(u"bid"); }, "get_element_by_id \"bid\""},
      {[&] { document->GetFocusedNode(); }, "get_focused_node"},
      {[&] { document->HasSelection(); }, "has_selection"},
      {[&] { document->GetSelectionStartNode(); }, "get_selection_start_node"},
      {[&] { document->GetSelectionStartOffset(); }, "get_selection_start_offset"},
      {[&] { document->GetSelectionEndNode(); }, "get_selection_end_node"},
      {[&] { document->GetSelectionEndOffset(); }, "get_selection_end_offset"},
      {[&] { document->GetSelectionAsMarkup(); }, "get_selection_as_markup"},
      {[&] { document->GetSelectionAsText(); }, "get_selection_as_text"},
      {[&] { document->GetBaseUrl(); }, "get_base_url"},
      {[&] { document->GetCompleteUrl(u"a.html"); }, "get_complete_url \"a.html\""},
  };
  for (const auto& [operation, expected] : cases) {
    Calls().clear();
    operation();
    EXPECT_EQ(Calls(), Log{expected});
  }
  document.reset();
  EXPECT_EQ(fake.refs, 1);
}

TEST_F(DomTest, NodeOperationsReachTheirMembers) {
  FakeDomNode fake;
  Ref<ICefDomNode> node = TCefDomNodeRef::UnWrap(fake.Hand());
  Ref<TCefStringMapHolder> attributes = base::MakeRef<TCefStringMapHolder>();
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { node->GetType(); }, "get_type"},
      {[&] { node->IsText(); }, "is_text"},
      {[&] { node->IsElement(); }, "is_element"},
      {[&] { node->GetName(); }, "get_name"},
      {[&] { node->GetValue(); }, "get_value"},
      {[&] { node->SetValue(u"v"); }, "set_value \"v\""},
      {[&] { node->GetAsMarkup(); }, "get_as_markup"},
      {[&] { node->GetDocument(); }, "get_document"},
      {[&] { node->GetParent(); }, "get_parent"},
      {[&] { node->GetPreviousSibling(); }, "get_previous_sibling"},
      {[&] { node->GetNextSibling(); }, "get_next_sibling"},
      {[&] { node->HasChildren(); }, "has_children"},
      {[&] { node->GetFirstChild(); }, "get_first_child"},
      {[&] { node->GetLastChild(); }, "get_last_child"},
      {[&] { node->GetElementTagName(); }, "get_element_tag_name"},
      {[&] { node->HasElementAttributes(); }, "has_element_attributes"},
      {[&] { node->HasElementAttribute(u"href"); }, "has_element_attribute \"href\""},
      {[&] { node->GetElementAttribute(u"href"); }, "get_element_attribute \"href\""},
      {[&] { node->GetElementAttributes(*attributes); }, "get_element_attributes " + fakes::Ptr(attributes->GetHandle())},
      {[&] { node->SetElementAttribute(u"class", u"on"); }, "set_element_attribute \"class\" \"on\""},
      {[&] { node->GetElementInnerText(); }, "get_element_inner_text"},
  };
  for (const auto& [operation, expected] : cases) {
    Calls().clear();
    operation();
    EXPECT_EQ(Calls(), Log{expected});
  }
  node.reset();
  EXPECT_EQ(fake.refs, 1);
}

TEST_F(DomTest, MissingNodesAreNullAndMissingStringsEmpty) {
  FakeDomDocument fakeDocument;
  FakeDomNode fakeNode, found;
  Ref<ICefDomDocument> document = TCefDomDocumentRef::UnWrap(fakeDocument.Hand());
  EXPECT_FALSE(document->GetElementById(u"none"));
  Answers().object = found.Hand();
  Ref<ICefDomNode> node = document->GetElementById(u"bid");
  ASSERT_TRUE(node);
  EXPECT_EQ(node->GetElementAttribute(u"missing"), u"");
  Answers().text = u"입찰";
  EXPECT_EQ(node->GetElementAttribute(u"title"), u"입찰");
  EXPECT_EQ(Live("UserFreeString"), 0);
  node.reset();
  EXPECT_EQ(found.refs, 1);
}

TEST_F(DomTest, IsSamePassesNullOrTheOtherNodeAndAnswersTheRuntime) {
  FakeDomNode fakeNode, fakeOther;
  Ref<ICefDomNode> node = TCefDomNodeRef::UnWrap(fakeNode.Hand());
  Ref<ICefDomNode> other = TCefDomNodeRef::UnWrap(fakeOther.Hand());
  Answers().boolean = 0;
  EXPECT_FALSE(node->IsSame(nullptr));
  Answers().boolean = 7;
  EXPECT_TRUE(node->IsSame(other));
  EXPECT_EQ(Calls(), (Log{"is_same null", "is_same " + fakes::Ptr(&fakeOther.wire)}));
  EXPECT_EQ(fakeOther.refs, 2) << "the runtime released the reference it was given";
}

TEST_F(DomTest, EventOperationsReachTheirMembersAndWrapTheirNodes) {
  FakeDomEvent fake;
  FakeDomNode target;
  Ref<ICefDomEvent> event = TCefDomEventRef::UnWrap(fake.Hand());
  Answers().text = u"click";
  EXPECT_EQ(event->GetType(), u"click");
  Answers().integer = 4;
  EXPECT_EQ(event->GetCategory(), 4);
  EXPECT_EQ(event->GetPhase(), 4);
  Answers().boolean = 1;
  EXPECT_TRUE(event->CanBubble());
  EXPECT_TRUE(event->CanCancel());
  EXPECT_FALSE(event->GetDocument());
  Answers().object = target.Hand();
  EXPECT_TRUE(event->GetTarget());
  EXPECT_FALSE(event->GetCurrentTarget());
  EXPECT_EQ(target.refs, 1);
  EXPECT_EQ(Calls(), (Log{"get_type", "get_category", "get_phase", "can_bubble", "can_cancel", "get_document",
                          "get_target", "get_current_target"}));
}

// A listener that counts the events it was given.
class CountingListener : public TCefDomEventListenerOwn {
 public:
  explicit CountingListener(int* handled) : handled_(handled) {}
  void HandleEvent(const Ref<ICefDomEvent>& event) override {
    if (!event) throw std::runtime_error("no event");
    ++*handled_;
  }

 private:
  int* handled_;
};

TEST_F(DomTest, AddEventListenerPassesTypeListenerAndUseCaptureInTheRuntimesOrder) {
  FakeDomNode fakeNode;
  FakeDomEvent fakeEvent;
  Ref<ICefDomNode> node = TCefDomNodeRef::UnWrap(fakeNode.Hand());
  int handled = 0;
  Ref<ICefDomEventListener> listener = base::MakeRef<CountingListener>(&handled);
  node->AddEventListener(u"click", true, listener);
  auto* wire = TakeKept<TCefDomEventListener>();
  EXPECT_EQ(Calls(), (Log{"add_event_listener \"click\" " + fakes::Ptr(wire) + " 1"}));
  EXPECT_EQ(wire->base.get_refct(&wire->base), 2) << "the program's and the runtime's";
  wire->handle_event(wire, fakeEvent.Hand());
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(fakeEvent.refs, 1) << "the event went with the end of the call";
  wire->handle_event(wire, nullptr);
  EXPECT_EQ(reports, std::vector<std::u16string>{u"no event"});
  fakes::Release(wire);
  node->AddEventListener(u"load", false, nullptr);
  EXPECT_EQ(Calls().back(), "add_event_listener \"load\" null 0");
}

TEST_F(DomTest, AddEventListenerProcLeavesTheListenerHeldOnlyByTheRuntime) {
  FakeDomNode fakeNode;
  FakeDomEvent fakeEvent;
  Ref<ICefDomNode> node = TCefDomNodeRef::UnWrap(fakeNode.Hand());
  auto alive = std::make_shared<int>(0);  // owned by the procedure, so it tells when the listener goes
  std::vector<std::u16string> types;
  node->AddEventListenerProc(u"change", false, [alive, &types](const Ref<ICefDomEvent>& event) {
    types.push_back(event->GetType());
  });
  auto* wire = TakeKept<TCefDomEventListener>();
  EXPECT_EQ(wire->base.get_refct(&wire->base), 1);
  EXPECT_EQ(Calls(), (Log{"add_event_listener \"change\" " + fakes::Ptr(wire) + " 0"}));
  Answers().text = u"change";
  wire->handle_event(wire, fakeEvent.Hand());
  EXPECT_EQ(types, std::vector<std::u16string>{u"change"});
  EXPECT_EQ(alive.use_count(), 2);
  fakes::Release(wire);
  EXPECT_EQ(alive.use_count(), 1) << "the runtime's release destroyed the listener and its procedure";
  EXPECT_EQ(fakeEvent.refs, 1);
}

TEST_F(DomTest, APlainVisitorCompletesAVisitWithoutEffect) {
  FakeDomDocument fakeDocument;
  Ref<ICefDomVisitor> visitor = base::MakeRef<TCefDomVisitorOwn>();
  auto* wire = reinterpret_cast<TCefDomVisitor*>(CefWrap(visitor));
  wire->visit(wire, fakeDocument.Hand());
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(fakeDocument.refs, 1);
  fakes::Release(wire);
  Ref<ICefDomEventListener> listener = base::MakeRef<TCefDomEventListenerOwn>();
  auto* listenerWire = reinterpret_cast<TCefDomEventListener*>(CefWrap(listener));
  listenerWire->handle_event(listenerWire, nullptr);
  fakes::Release(listenerWire);
  EXPECT_TRUE(reports.empty());
}

TEST_F(DomTest, AFailingVisitIsReportedAndStillReleasesTheDocument) {
  FakeDomDocument fakeDocument;
  Ref<ICefDomVisitor> visitor = base::MakeRef<TCefFastDomVisitor>([](const Ref<ICefDomDocument>& document) {
    document->GetTitle();
    throw std::runtime_error("the page changed under the visit");
  });
  auto* wire = reinterpret_cast<TCefDomVisitor*>(CefWrap(visitor));
  wire->visit(wire, fakeDocument.Hand());
  EXPECT_EQ(reports, std::vector<std::u16string>{u"the page changed under the visit"});
  EXPECT_EQ(fakeDocument.refs, 1);
  EXPECT_EQ(Calls(), Log{"get_title"});
  fakes::Release(wire);
}

}  // namespace
