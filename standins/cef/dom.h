#pragma once
// The stand-in's DOM objects: documents, nodes and events over a frame's document tree,
// and the event listeners the program adds to nodes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "html.h"
#include "standin.h"

namespace standin::dom {

// A frame's document as its DOM objects share it. The frame keeps it while the page is
// shown; document, node and event objects keep it alive while the program holds them.
struct DocumentState {
  std::unique_ptr<html::Node> root;  // the #document node
  std::u16string url;                // the page's address: the base of complete URLs
  html::Node* focused = nullptr;
  struct Selection {
    html::Node* start = nullptr;
    int32_t startOffset = 0;
    html::Node* end = nullptr;
    int32_t endOffset = 0;
  } selection;
  struct Listener {
    html::Node* node;
    std::u16string type;
    Held listener;  // the program's TCefDomEventListener
    bool useCapture;
  };
  std::vector<Listener> listeners;
  // Nodes a page script took out of the tree, kept so that node objects over them stay valid.
  std::vector<std::unique_ptr<html::Node>> removed;
  // Set once the frame has moved on to another page or closed: listeners are released,
  // and no event reaches the program any more.
  bool detached = false;

  // Releases every listener; called when the frame leaves the page and at shutdown.
  void Detach() noexcept;
};

// A new document object over state, with one reference for the receiver.
TCefDomDocument* NewDocument(std::shared_ptr<DocumentState> state);
// A new node object over a node of state's tree, with one reference; null for null.
TCefDomNode* NewNode(std::shared_ptr<DocumentState> state, html::Node* node);

// The state behind one of the stand-in's document objects; null, and an error recorded,
// when the pointer is not one. The caller's reference is only borrowed.
std::shared_ptr<DocumentState> StateOf(TCefDomDocument* document, const char* member);
// The state and tree node behind one of the stand-in's node objects; false, and an error
// recorded, when the pointer is not one. Borrowed like StateOf.
bool NodeOf(TCefDomNode* node, const char* member, std::shared_ptr<DocumentState>& state, html::Node*& treeNode);

// The document type every page has here: HTML.
inline constexpr int32_t kHtmlDocument = 1;

// An event's phase, numbered as the DOM numbers them.
enum class EventPhase : int32_t { None = 0, Capturing = 1, AtTarget = 2, Bubbling = 3 };

// An event's category: the stand-in's own numbering, one bit per family of event types.
enum class EventCategory : int32_t {
  Unknown = 0,
  UI = 1,
  Mouse = 2,
  Keyboard = 4,
  Mutation = 8,
  Drag = 16,
  Clipboard = 32,
  Wheel = 64,
};
EventCategory CategoryOf(std::u16string_view type);

// What the document, node and event objects share: their document's state, which they
// keep alive until their last reference goes.
template <class W, Kind K>
class StateObject : public Wired<W, K> {
 public:
  explicit StateObject(std::shared_ptr<DocumentState> documentState) noexcept : state(std::move(documentState)) {}
  std::shared_ptr<DocumentState> state;

 protected:
  void Retire() noexcept override { state.reset(); }
};

// The object behind a member's self while its document is still shown; null once the
// state is detached, so that members answer their neutral values.
template <class T>
T* Live(const void* self, const char* member) {
  T* object = Self<T>(self, member);
  return object && object->state && !object->state->detached ? object : nullptr;
}

// Dispatches an event of that type at target through the capture, target and bubble
// phases, calling every matching listener's handle_event with a new event object. The
// event bubbles and can be cancelled. Answers the number of listener calls made.
int Dispatch(const std::shared_ptr<DocumentState>& state, html::Node* target, std::u16string_view type);

}  // namespace standin::dom
