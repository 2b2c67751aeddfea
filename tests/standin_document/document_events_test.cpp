// Event listeners on a document's nodes: the order of calls through the capture, target
// and bubble phases, what each call receives, and when the runtime lets listeners go.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "standin_document/wire_objects.h"

namespace standin_tests {
namespace {

constexpr char16_t kPage[] =
    u"<html><head><title>Events</title></head><body>"
    u"<div id=\"outer\"><p id=\"inner\"><span id=\"target\">x</span></p></div><div id=\"aside\"></div>"
    u"</body></html>";

constexpr int32_t kCapturing = 1, kAtTarget = 2, kBubbling = 3;

// The id of a node, or its name when it has none; the node is released.
std::u16string Label(TCefDomNode* node) {
  if (!node) return u"(none)";
  Own<TCefDomNode> owned(node);
  std::u16string id = u"id";
  TCefString name = View(id);
  std::optional<std::u16string> value = Take(node->get_element_attribute(node, &name));
  return value ? *value : Text(node->get_name(node));
}

struct Seen {
  std::u16string listener;
  std::u16string type;
  int32_t phase;
  std::u16string target;
  std::u16string current;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  auto narrow = [](const std::u16string& text) { return std::string(text.begin(), text.end()); };
  return out << narrow(s.listener) << " " << narrow(s.type) << " phase " << s.phase << " at "
             << narrow(s.target) << " on " << narrow(s.current);
}

// A program's listener: records every call in a shared log and may do more.
class Listener : public TestObject<TCefDomEventListener> {
 public:
  Listener(std::u16string name, std::vector<Seen>& log) : name_(std::move(name)), log_(log) {
    wire().handle_event = [](TCefDomEventListener* self, TCefDomEvent* event) CEF_CALLBACK {
      Of<Listener>(self).Handle(event);
    };
  }
  std::function<void(TCefDomEvent*)> also;
  int32_t refsOfEvent = 0;

 private:
  void Handle(TCefDomEvent* event) {
    Own<TCefDomEvent> owned(event);  // the call's reference is the listener's to release
    refsOfEvent = event->base.get_refct(&event->base);
    log_.push_back({name_, Text(event->get_type(event)), event->get_phase(event), Label(event->get_target(event)),
                    Label(event->get_current_target(event))});
    if (also) also(event);
  }
  std::u16string name_;
  std::vector<Seen>& log_;
};

class DocumentEventsTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    document_ = Adopt(control().standin_create_document(kPage, u"http://service.example/"));
    ASSERT_NE(document_, nullptr);
  }
  void TearDown() override {
    document_.reset();
    for (const auto& listener : listeners_) EXPECT_EQ(listener->refs(), 0) << "a listener is still held";
    WireTest::TearDown();
  }

  // A listener that lives until the test has ended, so the runtime may hold it as long.
  Listener& Make(std::u16string name) { return *listeners_.emplace_back(std::make_unique<Listener>(std::move(name), log_)); }

  TCefDomDocument* doc() { return document_.get(); }
  Own<TCefDomNode> ById(const std::u16string& id) {
    TCefString s = View(id);
    return Own<TCefDomNode>(doc()->get_element_by_id(doc(), &s));
  }
  Own<TCefDomNode> Root() { return Own<TCefDomNode>(doc()->get_document(doc())); }
  static void Listen(TCefDomNode* node, const std::u16string& type, Listener& listener, bool capture) {
    TCefString t = View(type);
    node->add_event_listener(node, &t, listener.Hand(), capture ? 1 : 0);
  }
  int Dispatch(const char16_t* id, const char16_t* type) {
    return control().standin_dispatch_event(doc(), id, type);
  }

  std::vector<Seen> log_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  Own<TCefDomDocument> document_;
};

TEST_F(DocumentEventsTest, AnEventRunsDownThroughCaptureThenTheTargetThenBubblesUp) {
  Listener &docCapture = Make(u"doc-capture"), &docBubble = Make(u"doc-bubble"), &bodyBubble = Make(u"body-bubble");
  Listener &outerBubble = Make(u"outer-bubble"), &outerCapture = Make(u"outer-capture");
  Listener &innerCapture = Make(u"inner-capture"), &innerBubble = Make(u"inner-bubble");
  Listener &targetBubble = Make(u"target-bubble"), &targetCapture = Make(u"target-capture");
  Listener &aside = Make(u"aside"), &otherType = Make(u"keydown");
  {
    auto root = Root();
    Own<TCefDomNode> body(doc()->get_body(doc()));
    auto outer = ById(u"outer"), inner = ById(u"inner"), target = ById(u"target"), asideNode = ById(u"aside");
    Listen(root.get(), u"click", docCapture, true);
    Listen(outer.get(), u"click", outerBubble, false);
    Listen(outer.get(), u"click", outerCapture, true);
    Listen(inner.get(), u"click", innerCapture, true);
    Listen(inner.get(), u"click", innerBubble, false);
    Listen(target.get(), u"click", targetBubble, false);
    Listen(target.get(), u"click", targetCapture, true);
    Listen(body.get(), u"click", bodyBubble, false);
    Listen(root.get(), u"click", docBubble, false);
    Listen(asideNode.get(), u"click", aside, false);
    Listen(outer.get(), u"keydown", otherType, false);
  }
  EXPECT_EQ(control().standin_listener_count(doc()), 11);

  EXPECT_EQ(Dispatch(u"target", u"click"), 9);
  std::vector<Seen> expected = {
      {u"doc-capture", u"click", kCapturing, u"target", u"#document"},
      {u"outer-capture", u"click", kCapturing, u"target", u"outer"},
      {u"inner-capture", u"click", kCapturing, u"target", u"inner"},
      {u"target-bubble", u"click", kAtTarget, u"target", u"target"},
      {u"target-capture", u"click", kAtTarget, u"target", u"target"},
      {u"inner-bubble", u"click", kBubbling, u"target", u"inner"},
      {u"outer-bubble", u"click", kBubbling, u"target", u"outer"},
      {u"body-bubble", u"click", kBubbling, u"target", u"BODY"},
      {u"doc-bubble", u"click", kBubbling, u"target", u"#document"},
  };
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(docCapture.refsOfEvent, 1) << "each call's event carries the listener's one reference";
  EXPECT_EQ(control().standin_live_objects("DomEvent"), 0);

  log_.clear();
  EXPECT_EQ(Dispatch(u"outer", u"keydown"), 1);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0], (Seen{u"keydown", u"keydown", kAtTarget, u"outer", u"outer"}));

  // The runtime holds one reference to each listener until the page's last object goes.
  EXPECT_EQ(outerBubble.refs(), 1);
  document_.reset();
  for (Listener* l : {&docCapture, &outerBubble, &targetCapture, &aside, &otherType}) EXPECT_EQ(l->refs(), 0);
  EXPECT_EQ(control().standin_held_objects(), 0);
}

TEST_F(DocumentEventsTest, AnEventTellsItsKindAndReachesItsDocument) {
  Listener& listener = Make(u"l");
  int32_t category = -1, bubbles = -1, cancels = -1;
  std::u16string title;
  listener.also = [&](TCefDomEvent* event) {
    category = event->get_category(event);
    bubbles = event->can_bubble(event);
    cancels = event->can_cancel(event);
    Own<TCefDomDocument> page(event->get_document(event));
    title = Text(page->get_title(page.get()));
  };
  Listen(ById(u"target").get(), u"click", listener, false);
  Listen(ById(u"target").get(), u"message", listener, false);
  ASSERT_EQ(Dispatch(u"target", u"click"), 1);
  EXPECT_EQ(category, 2) << "a mouse event";
  EXPECT_EQ(bubbles, 1);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(title, u"Events");
  ASSERT_EQ(Dispatch(u"target", u"message"), 1);
  EXPECT_EQ(category, 0) << "a type of no known family";
}

TEST_F(DocumentEventsTest, AListenerAddedDuringADispatchWaitsForTheNextEvent) {
  Listener &first = Make(u"first"), &late = Make(u"late");
  auto target = ById(u"target");
  first.also = [&](TCefDomEvent*) {
    if (late.refs() == 0) Listen(target.get(), u"click", late, false);
  };
  Listen(target.get(), u"click", first, false);
  EXPECT_EQ(Dispatch(u"target", u"click"), 1);
  EXPECT_EQ(control().standin_listener_count(doc()), 2);
  EXPECT_EQ(Dispatch(u"target", u"click"), 2);
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_EQ(log_[2].listener, u"late");
}

TEST_F(DocumentEventsTest, AListenerThatDetachesThePageEndsTheDispatch) {
  Listener &leaving = Make(u"leaving"), &never = Make(u"never");
  leaving.also = [&](TCefDomEvent* event) {
    control().standin_detach_document(doc());
    EXPECT_EQ(event->get_phase(event), 0) << "the event answers neutral values once the page is left";
  };
  {
    auto target = ById(u"target");
    Listen(target.get(), u"click", leaving, false);
    Listen(target.get(), u"click", never, false);
  }
  EXPECT_EQ(Dispatch(u"target", u"click"), 1);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(control().standin_listener_count(doc()), 0);
  EXPECT_EQ(leaving.refs(), 0);
  EXPECT_EQ(never.refs(), 0);
  EXPECT_EQ(Dispatch(u"target", u"click"), 0) << "a left page calls no listener";
}

TEST_F(DocumentEventsTest, ADetachedPageReleasesNewListenersAtOnce) {
  Listener& listener = Make(u"l");
  auto target = ById(u"target");
  Listen(target.get(), u"click", listener, false);
  EXPECT_EQ(listener.refs(), 1);
  control().standin_detach_document(doc());
  EXPECT_EQ(listener.refs(), 0);
  Listen(target.get(), u"click", listener, false);
  EXPECT_EQ(listener.refs(), 0);
  EXPECT_EQ(control().standin_listener_count(doc()), 0);
  target->add_event_listener(target.get(), nullptr, nullptr, 0);  // nothing to hold, nothing to fail
}

TEST_F(DocumentEventsTest, AnEventKeptAfterItsCallStaysUsableUntilThePageIsLeft) {
  Listener& keeper = Make(u"keeper");
  TCefDomEvent* kept = nullptr;
  keeper.also = [&](TCefDomEvent* event) {
    event->base.add_ref(&event->base);
    kept = event;
  };
  Listen(ById(u"inner").get(), u"focus", keeper, true);
  ASSERT_EQ(Dispatch(u"target", u"focus"), 1);
  ASSERT_NE(kept, nullptr);
  Own<TCefDomEvent> event(kept);
  EXPECT_EQ(Text(event->get_type(event.get())), u"focus");
  EXPECT_EQ(event->get_phase(event.get()), kCapturing);
  EXPECT_EQ(Label(event->get_current_target(event.get())), u"inner");
  control().standin_detach_document(doc());
  EXPECT_EQ(Text(event->get_type(event.get())), u"(null)");
  EXPECT_EQ(event->get_target(event.get()), nullptr);
}

}  // namespace
}  // namespace standin_tests
